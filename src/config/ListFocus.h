#pragma once

class QAbstractItemView;

namespace vantelo {

// Item views show the keyboard focus on their current item. One with no item to be current, an empty
// list, shows it around its inside instead, so that whoever moves through the window with Tab always
// sees where the keys go.
void showFocusWhenEmpty(QAbstractItemView& view);

} // namespace vantelo
