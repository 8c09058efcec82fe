#pragma once

class QAccessibleInterface;

namespace quorrel {

class SkillListView;

// What a screen reader meets in the skill list: a list named as the widget is, whose children are
// its skills, each a check box with the skill's name that says whether it is checked and can be
// toggled. The toolkit's own list makes each skill a list item without a "checkable" state its
// bridge would pass on, so an unchecked skill was spoken by its name alone.

// Makes every SkillListView answer with that list; safe to call more than once.
void installSkillListAccessibility();

// A new description of the item in `row` of `view`, for the caller to register and own. It reads
// the item afresh whenever it is asked, and is invalid once the view or the row is gone.
QAccessibleInterface* newAccessibleSkillItem(const SkillListView& view, int row);

}  // namespace quorrel
