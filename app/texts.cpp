// Composition of the player's fixed texts from the version numbers and character codes
// built into the program.
#include "app/texts.h"

#include <cstdio>

namespace app {

namespace {

// The two version numbers of the build.
constexpr int version_major = 1;
constexpr int version_minor = 1;

}  // namespace

void compose_texts(Texts& texts) {
  char(&version_text)[8] = texts.version_text;
  char(&publisher_label_text)[16] = texts.publisher_label_text;
  char(&web_page_address)[64] = texts.web_page_address;
  char(&version_tag_text)[16] = texts.version_tag_text;
  char(&window_title)[48] = texts.window_title;
  std::snprintf(version_text, sizeof version_text, "%i-%i", version_major, version_minor);
  // "Moviquel Co".
  std::snprintf(publisher_label_text, sizeof publisher_label_text, "%c%c%c%c%c%c%c%c%c%c%c", 'M',
                'o', 'v', 'i', 'q', 'u', 'e', 'l', ' ', 'C', 'o');
  // The host "www.mql.example", then "/mql/index.html?mqlp", then the version text.
  std::snprintf(web_page_address, sizeof web_page_address,
                "%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%s", 'w',
                'w', 'w', '.', 'm', 'q', 'l', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e', '/', 'm', 'q',
                'l', '/', 'i', 'n', 'd', 'e', 'x', '.', 'h', 't', 'm', 'l', '?', 'm', 'q', 'l', 'p',
                version_text);
  std::snprintf(version_tag_text, sizeof version_tag_text, "MQLP %s", version_text);
  std::snprintf(window_title, sizeof window_title, "%s %s %s", publisher_label_text, version_text,
                product_caption);
}

}  // namespace app
