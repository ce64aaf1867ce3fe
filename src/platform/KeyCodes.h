#pragma once

namespace veltrin {

// The settings and the remote-control tables speak the classic desktop virtual key codes
// (push-to-talk 120 is F2, 51 is backspace, 123-126 the arrows). This is the one place where the
// toolkit's key numbers (Qt::Key values) are translated to and from them.

// Answers the virtual key code of a Qt key, or -1 when the key has none. Digits and operators of
// the numeric keypad have codes of their own.
int virtualKeyFromQtKey(int qtKey, bool keypad);

// Answers the Qt key of a virtual key code, or 0 (Qt::Key_unknown) for an unknown code.
int qtKeyFromVirtualKey(int virtualKey);

}  // namespace veltrin
