// The five composed texts, against the values fixed for this product.
#include <gtest/gtest.h>

#include <cstring>

#include "app/texts.h"

namespace app {
namespace {

TEST(ShellTexts, ComposedTextsAreTheProductsFixedTexts) {
  compose_texts();
  EXPECT_STREQ(version_text, "1-1");
  EXPECT_STREQ(publisher_label_text, "Moviquel Co");
  EXPECT_STREQ(web_page_address, "www.mql.example/mql/index.html?mqlp1-1");
  EXPECT_STREQ(version_tag_text, "MQLP 1-1");
  EXPECT_STREQ(window_title, "Moviquel Co 1-1 Moviquel Player");
  EXPECT_STREQ(product_caption, "Moviquel Player");
}

TEST(ShellTexts, PublisherLabelHasElevenCharactersAndTheHostFifteen) {
  compose_texts();
  EXPECT_EQ(std::strlen(publisher_label_text), 11u);
  // The address is the host, then the fixed path and the version text, with no scheme.
  const char* path = std::strstr(web_page_address, "/mql/index.html?mqlp");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path - web_page_address, 15);
  EXPECT_EQ(std::strstr(web_page_address, "://"), nullptr);
}

}  // namespace
}  // namespace app
