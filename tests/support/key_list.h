// The letter keys of the file list as the user's key list gives them: the character, the
// half-width katakana the same key types in kana input mode, and the command it runs (by
// its action's name). Written out here, not taken from the program's own key table, so
// that the key tests check the table against the list.
#pragma once

namespace haruvi::test {

struct ListedKey {
  const char* letter;
  const char* kana;
  const char* action;
};

inline constexpr ListedKey kListedKeys[] = {
    {"A", "ﾁ", "Mpropaty"},       // attribute change
    {"B", "ｺ", "Mdump1"},         // hex dump
    {"C", "ｿ", "Mfilecopy"},      // copy files
    {"D", "ｼ", "Mfiledelete"},    // delete files
    {"E", "ｲ", "Mediter"},        // edit in the external editor
    {"F", "ﾊ", "Mf"},             // find in text, only if the text pane is not empty
    {"G", "ｷ", "Mtorokufolder"},  // registered folders
    {"H", "ｸ", "Mhelp"},          // help, at its contents
    {"I", "ﾆ", "Mlhalist"},       // LHA listing
    {"J", "ﾏ", "Mjump"},          // jump to line
    {"K", "ﾉ", "Mmkdir"},         // make folder
    {"L", "ﾘ", "Mfolderm"},       // choose folder
    {"M", "ﾓ", "Mfilemove"},      // move files
    {"N", "ﾐ", "Minitview"},      // refresh
    {"O", "ﾗ", "Mdrivem"},        // choose drive
    {"P", "ｾ", "MlhaP"},          // make LHA archive
    {"Q", "ﾀ", "Mexit1"},         // exit
    {"R", "ｽ", "Mrename"},        // rename
    {"S", "ﾄ", "Mfilesort1"},     // sort files
    {"T", "ｶ", "Mtojis1"},        // automatic code conversion
    {"U", "ﾅ", "MlhaU"},          // unpack LHA archive
    {"V", "ﾋ", "ToolButton49"},   // show the selected file now (filedisp2, the line blue)
    {"W", "ﾃ", "Mmask"},          // choose extensions
    {"X", "ｻ", "Mfileexe"},       // run the file by its association
    {"Z", "ﾂ", "Mz"},             // open the key menu
    {";", "ﾚ", "Myc"},            // toggle the LHA listing, listing when it turns on
    {"\\", "ｰ", "Myy"},           // move to the root of the current drive
};

}  // namespace haruvi::test
