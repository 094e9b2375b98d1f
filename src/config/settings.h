// The plugin's keys in the host's INI file, and the choice of the UI language.
#pragma once

namespace kontaktel {

struct ViewerState;

// True while the user interface speaks Russian; every localised text is chosen
// by it at the moment the text is produced.
bool UiIsRussian();
void SetUiIsRussian(bool russian);

// Copies "ListWidth" and "LoadPhotoUrl" of section "Kontaktel" into the state.
void ReadViewerSettings(ViewerState* state);

// Russian when the host's language file ("LanguageIni") names a Russian one,
// else, without such a setting, when the user's UI language is Russian.
bool ChooseUiLanguage();

// Stores the list width (96-DPI pixels) after a splitter drag; nothing when
// the width is below 1 or the host has named no INI file.
void WriteListWidth(int listWidth);

}  // namespace kontaktel
