// The JPEG decoder's public face: the byte source it reads from and the decoder object that
// turns a baseline, extended sequential or progressive Huffman JPEG into 8-bit rows.
#pragma once

#include <cstdint>

namespace jpeg {

namespace detail {
struct DecoderState;
}

// What start and read_scanline return. The values are part of the interface: callers may
// compare with the numbers as well as with the names.
enum DecodeResult : std::int32_t {
  DecodeOk = 0,           // start: ready to deliver rows; read_scanline: one row delivered
  AllRowsDelivered = 1,   // read_scanline: every row has been delivered already
  NotReady = -1,          // error_code is set, or start has not succeeded
  RowDecodeFailed = -227  // read_scanline: a fatal error while decoding a row (CorruptData)
};

// Abstract byte source of the decoder. The decoder calls open once while it is constructed and
// close once when it gives the stream up; it never deletes the stream (its creator does).
class JpegInputStream {
 public:
  virtual ~JpegInputStream() = default;

  // What read returns on failure.
  static constexpr std::int32_t kReadError = -1;

  // Copies up to max_bytes bytes into buffer and returns their number (0..max_bytes), or
  // kReadError on failure. Sets at_end when it delivered fewer bytes than asked for or has
  // nothing left; it never clears the flag.
  virtual std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) = 0;

  // A stream over bytes it holds in memory may offer them, so that the decoder reads the rest in
  // place: returns all of the stream's bytes, with their number in size and in delivered how
  // many read has handed out so far. The decoder then no longer calls read. The bytes must stay
  // valid and unchanged while the decoder holds the stream. Returns null here.
  virtual const std::uint8_t* contents(std::int32_t& size, std::int32_t& delivered) const {
    size = 0;
    delivered = 0;
    return nullptr;
  }

  // Called once by the decoder's constructor before the first read. Does nothing here.
  virtual void open() {}

  // Called once when the decoder gives the stream up (release or a fatal error). Does nothing here.
  virtual void close() {}
};

// How a decoder is asked to decode: the three-argument constructor takes the defaults but for
// fast_path and threads.
struct DecoderOptions {
  // The 64-bit entropy reader and the fast 16-bit transform (the integer transform otherwise).
  bool fast_path = true;
  // 2 lets a second thread decode the entropy-coded data of large sequential pictures.
  std::int32_t threads = 1;
  // 1, 2, 4 or 8: the rows come out at the frame's size divided by it, rounded up, through
  // reduced transforms (start fails with ScaleInvalid for any other value).
  std::int32_t scale_denominator = 1;
  // Users' photos: frames up to 65535 x 65535 while the decoder's buffers stay within
  // kPhotoMemoryBudget (ImageTooLarge beyond it), and every arithmetic-coded frame type
  // refused as ArithmeticCoding. Without it, the embedded pictures' limits: 8192 x 8192.
  bool photo_sizes = false;
};

// Decodes one JPEG read through a JpegInputStream into rows, top to bottom, one row per call.
// Order of use: construct; check error_code == 0; start() == 0; read_scanline() height times;
// release(); delete. Every failure is fatal: it records error_code, closes the stream and frees
// every buffer, after which only release does anything. No exception leaves the decoder.
class JpegDecoder {
 public:
  // Reads everything up to and including the frame header. Never fails visibly: on error it
  // returns with error_code set, the stream already closed and all buffers freed.
  // fast_path selects the 64-bit entropy reader and the fast 16-bit transform. threads = 2 lets
  // a second thread decode the entropy-coded data of large sequential pictures ahead of the rows
  // being delivered; the rows are the same, byte for byte. The stream is then read from that
  // thread (never from two at once) until the last row of blocks has been decoded; a stream that
  // offers its contents is read in place instead, by both threads (at 1/8 the scan is split
  // between them), and not through read.
  JpegDecoder(JpegInputStream* stream, bool fast_path, std::int32_t threads = 1);
  // The same with every option.
  JpegDecoder(JpegInputStream* stream, const DecoderOptions& options);
  // Runs release, so an owner that forgets it leaks nothing.
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Chooses the output layout and allocates the row buffers; positions a sequential image at its
  // first scan and decodes every scan of a progressive image. Returns DecodeOk when ready to
  // deliver rows (also when already started) and NotReady on failure (error_code says why, also
  // when it was already set before the call).
  std::int32_t start();

  // Delivers the next row. Returns DecodeOk with line pointing at the row (a decoder-owned
  // buffer, valid until the next call) and line_bytes = output_width * bytes_per_pixel;
  // AllRowsDelivered when all output_height rows have been delivered (the out-parameters are left
  // untouched); NotReady when error_code is set or start has not succeeded; RowDecodeFailed when
  // a fatal error happened while this call decoded a new row of blocks (error_code then holds the
  // specific code). Rows of 4-byte pixels hold R, G, B and a zero byte.
  std::int32_t read_scanline(const std::uint8_t*& line, std::int32_t& line_bytes);

  // Closes the stream if it is still held and frees every buffer. Safe in any state and twice.
  void release();

  std::int32_t width = 0;            // pixels, 1..8192, from the frame header
  std::int32_t height = 0;           // pixels, 1..8192, from the frame header
  std::int32_t components = 0;       // frame components (1 = grey, 3 = YCbCr are decoded)
  std::int32_t bytes_per_pixel = 0;  // set by start: 1 for grey, 4 otherwise
  std::int32_t output_width = 0;     // set by start: pixels of a row, width at scale 1
  std::int32_t output_height = 0;    // set by start: rows delivered, height at scale 1
  std::int32_t error_code = 0;       // 0, or the code of the first fatal error (error_codes.h)
  // The EXIF orientation, 1..8 (exif_orientation.h): from the constructor when the Exif segment
  // precedes the frame header, from start otherwise; 1 without a valid one. The rows are
  // delivered as stored.
  std::int32_t orientation = 1;
  // With error_code set: the offset in the stream of the byte the decoder was at when it
  // failed (in a damaged scan, up to a few bytes past the damage).
  std::int64_t error_offset = 0;

 private:
  // Records the first fatal error, closes the stream and frees everything.
  void fail_with(std::int32_t code);

  detail::DecoderState* state_ = nullptr;
};

}  // namespace jpeg
