// The five composed texts, against the values fixed for this product.
#include <gtest/gtest.h>

#include <cstring>

#include "app/texts.h"

namespace app {
namespace {

TEST(ShellTexts, ComposedTextsAreTheProductsFixedTexts) {
  Texts texts;
  compose_texts(texts);
  EXPECT_STREQ(texts.version_text, "1-1");
  EXPECT_STREQ(texts.publisher_label_text, "Moviquel Co");
  EXPECT_STREQ(texts.web_page_address, "www.mql.example/mql/index.html?mqlp1-1");
  EXPECT_STREQ(texts.version_tag_text, "MQLP 1-1");
  EXPECT_STREQ(texts.window_title, "Moviquel Co 1-1 Moviquel Player");
  EXPECT_STREQ(product_caption, "Moviquel Player");
}

TEST(ShellTexts, PublisherLabelHasElevenCharactersAndTheHostFifteen) {
  Texts texts;
  compose_texts(texts);
  EXPECT_EQ(std::strlen(texts.publisher_label_text), 11u);
  // The address is the host, then the fixed path and the version text, with no scheme.
  const char* path = std::strstr(texts.web_page_address, "/mql/index.html?mqlp");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path - texts.web_page_address, 15);
  EXPECT_EQ(std::strstr(texts.web_page_address, "://"), nullptr);
}

}  // namespace
}  // namespace app
