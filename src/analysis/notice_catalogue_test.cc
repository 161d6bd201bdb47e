#include "analysis/notice_catalogue.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "config/config.h"
#include "driver/state.h"

namespace vek {
namespace {

class NoticeCatalogueTest : public ::testing::Test {
 protected:
  std::unique_ptr<G> g_ = std::make_unique<G>();
};

TEST_F(NoticeCatalogueTest, EnabledOutsideTheCatalogueIsMinusOne) {
  for (int n : {59, 1000, -1}) EXPECT_EQ(-1, notice_enabled(n, g_.get())) << n;
  EXPECT_EQ(-1, notice_enabled(1, nullptr));
}

TEST_F(NoticeCatalogueTest, EnabledFollowsTheConfiguration) {
  EXPECT_EQ(0, notice_enabled(0, g_.get()));
  for (int n = 1; n <= kNoticeCount; ++n) {
    bool off = n == 21 || n == 25 || n == 46 || n == 47 ||
               (n >= 51 && n <= 54) || n == 57 || n == 58;
    EXPECT_EQ(off ? 0 : 1, notice_enabled(n, g_.get())) << n;
  }
  g_->cfg.notice_on[3] = 0;
  g_->cfg.notice_on[57] = 1;
  EXPECT_EQ(0, notice_enabled(3, g_.get()));
  EXPECT_EQ(1, notice_enabled(57, g_.get()));
}

TEST_F(NoticeCatalogueTest, DescriptionsCarryTheDefaultThresholds) {
  EXPECT_EQ("Physical line length > 80 characters",
            notice_description(1, *g_));
  EXPECT_EQ("Function name length > 32 characters",
            notice_description(2, *g_));
  EXPECT_EQ("Function/class/struct/interface white space < 10.0%",
            notice_description(16, *g_));
  EXPECT_EQ("Function eLOC > maximum 200 eLOC", notice_description(18, *g_));
  EXPECT_EQ("Treat *.h files for C++ keywords", notice_description(25, *g_));
  EXPECT_EQ("Function lLOC <= 0, non-operational function",
            notice_description(48, *g_));
  EXPECT_EQ("Scope level exceeds the defined limit of 7",
            notice_description(55, *g_));
  EXPECT_EQ("VEK skip quality notices token match - Quality Notices ignored",
            notice_description(58, *g_));
}

TEST_F(NoticeCatalogueTest, DescriptionsUseTheThresholdsOfTheFirstCall) {
  Config& c = g_->cfg;
  c.max_line_length = 120;
  c.max_cyclomatic = 15;
  c.min_file_blank = 12.35;
  c.min_class_comment = 0.04;
  EXPECT_EQ("Physical line length > 120 characters",
            notice_description(1, *g_));
  EXPECT_EQ("Cyclomatic complexity > 15", notice_description(28, *g_));
  EXPECT_EQ("File Blank Line content < 12.3%", notice_description(47, *g_));
  EXPECT_EQ("Class/Struct comments are < 0.0%", notice_description(31, *g_));

  // Later changes of the configuration leave the texts as they were,
  // whichever notice is asked for first afterwards.
  c.max_line_length = 60;
  c.max_cyclomatic = 3;
  c.max_class_methods = 7;
  EXPECT_EQ("Physical line length > 120 characters",
            notice_description(1, *g_));
  EXPECT_EQ("Cyclomatic complexity > 15", notice_description(28, *g_));
  EXPECT_EQ("Number of class/struct methods exceeds specified maximum 100 ",
            notice_description(39, *g_));
}

TEST_F(NoticeCatalogueTest, OnlyTheLimitNoticesOfTypesAndTreesEndInABlank) {
  for (int n = 1; n <= kNoticeCount; ++n) {
    std::string d = notice_description(n, *g_);
    ASSERT_FALSE(d.empty()) << n;
    bool trailing_blank = d.back() == ' ';
    EXPECT_EQ(n >= 39 && n <= 41, trailing_blank) << n << ": " << d;
  }
}

TEST_F(NoticeCatalogueTest, HugeThresholdsAreCutAtTheDescriptionLimit) {
  g_->cfg.min_function_whitespace = 1e300;
  g_->cfg.max_function_eloc = -2147483647 - 1;
  std::string ws = notice_description(16, *g_);
  EXPECT_EQ(kNoticeDescriptionMax, ws.size());
  EXPECT_EQ(0u, ws.rfind("Function/class/struct/interface white space < 1", 0));
  EXPECT_EQ("Function eLOC > maximum -2147483648 eLOC",
            notice_description(18, *g_));
  for (int n = 1; n <= kNoticeCount; ++n)
    EXPECT_LE(notice_description(n, *g_).size(), kNoticeDescriptionMax) << n;
}

TEST_F(NoticeCatalogueTest, NumbersOutsideTheCatalogueAreUnsupported) {
  for (int n : {0, -3, 59, 100, 4711})
    EXPECT_EQ("Unsupported", notice_description(n, *g_)) << n;
}

}  // namespace
}  // namespace vek
