// The data-field name table (items 0 to 79) and the settings of the items
// a differential report shows: the work file differential configuration.
#ifndef VEK_WORKFILES_DIFF_ITEMS_H_
#define VEK_WORKFILES_DIFF_ITEMS_H_

#include <string>
#include <string_view>

namespace vek {

constexpr int kDataFields = 80;
extern const char* const kDataFieldNames[kDataFields];

// The items the metrics differential reports.
enum DiffItemNumber {
  kItemLoc = 2,
  kItemEloc = 3,
  kItemLloc = 4,
  kItemBlanks = 5,
  kItemComments = 6,
  kItemLines = 8,
  kItemFunctions = 40,
  kItemNotices = 56,
  kItemCyclomatic = 76,
  kItemInterface = 77,
  kItemTotalComplexity = 78,
  kItemElocPercent = 79,
};

// Per item: shown switches its column on; plus says whether a removed
// file's value adds to the totals (1) or is taken from them (0).
struct DiffItemSetting {
  int shown = 0;
  int plus = 0;
};

struct DiffItems {
  DiffItemSetting item[kDataFields];
  bool shown(int n) const { return item[n].shown != 0; }
  bool plus(int n) const { return item[n].plus != 0; }
};

// The number of `name` in the table (exact, with case), or -1.
int DataFieldNumber(std::string_view name);

// The text of the configuration file written when none exists.
extern const char kDefaultWorkDiffConfig[];

// Every item 1 to 79 shown, removed files subtracted.
void ShowAllItems(DiffItems& items);

// Applies the text of a differential configuration: every item off, then
// each line naming an item sets it.  Lines whose first non-blank
// character is no letter or digit are comments.
void ParseDiffItems(std::string_view text, DiffItems& items);

}  // namespace vek

#endif  // VEK_WORKFILES_DIFF_ITEMS_H_
