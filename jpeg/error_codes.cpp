// Names of the decoder's error codes, generated from the one table in error_codes.h.
#include "jpeg/error_codes.h"

namespace jpeg {

const char* error_name(std::int32_t code) {
  switch (code) {
    case 0:
      return "None";
#define MQ_JPEG_ERROR_CASE(name, value, text) \
  case value:                                 \
    return #name;
      MQ_JPEG_ERROR_TABLE(MQ_JPEG_ERROR_CASE)
#undef MQ_JPEG_ERROR_CASE
    default:
      return "Unknown";
  }
}

const char* error_text(std::int32_t code) {
  switch (code) {
    case 0:
      return "no error";
#define MQ_JPEG_ERROR_TEXT(name, value, text) \
  case value:                                 \
    return text;
      MQ_JPEG_ERROR_TABLE(MQ_JPEG_ERROR_TEXT)
#undef MQ_JPEG_ERROR_TEXT
    default:
      return "unknown error";
  }
}

}  // namespace jpeg
