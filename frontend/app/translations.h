// Qt's own texts in the front end's language.
#pragma once


namespace pfac::frontend {

// Qt's own texts (the standard buttons of message boxes, "Yes", "No", "OK") in
// Chinese, from the translations that Qt ships. False when they are missing.
bool InstallChineseTranslations();

}  // namespace pfac::frontend
