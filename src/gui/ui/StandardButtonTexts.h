#pragma once

class QDialogButtonBox;
class QMessageBox;

namespace md {

/// Gives the standard buttons (OK, Cancel, Yes, No, Retry) of a button box or message box the
/// host's texts in the user's language; a button whose key has no text keeps the toolkit's own.
void LocalizeStandardButtons(QDialogButtonBox& box);
void LocalizeStandardButtons(QMessageBox& box);

} // namespace md
