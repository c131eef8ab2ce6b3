#pragma once
// What assistive technology reads from a toolkit window where Qt's own
// description falls short: the window is a frame named by its title, and a
// chooser is named by its label (Qt on Linux names a combo box by its current
// entry), its entry being its value.
namespace platform::qt {

// Registers these descriptions with Qt's accessibility; repeating it is harmless.
void DescribeToolkitWindows();

} // namespace platform::qt
