#include "view/palette_choice.h"

#include <gtest/gtest.h>

#include "config/ui_language.h"

namespace kontaktel {
namespace {

TEST(PaletteChoiceTest, SettingThenHostFlagsThenHostBackground) {
  struct Case {
    const wchar_t* dark;
    int hostDark;
    const wchar_t* backColor;
    bool expected;
  };
  const Case cases[] = {
      {L"0", 1, L"0,0,0", false},
      {L"1", 0, L"255,255,255", true},
      {L"2", 1, L"255,255,255", true},
      {L"2", 0, L"0,0,0", false},
      {L"", 1, L"", true},
      {L"x", -1, L"32,32,32", true},
      {L"2", -1, L"", false},
      {L"2", -1, L"130,130,130", false},
      {L"2", -1, L"127,127,127", true},
      {L"2", -1, L"4210752", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseDarkPalette(c.dark, c.hostDark, c.backColor), c.expected)
        << static_cast<const void*>(c.dark) << " " << c.hostDark;
  }
}

TEST(UiLanguageTest, OnlyTheLanguageFilesNameCounts) {
  struct Case {
    const wchar_t* path;
    bool russian;
  };
  const Case cases[] = {
      {L"WCMD_RUS.LNG", true},
      {L"%COMMANDER_PATH%\\Language\\Wcmd_Rus.lng", true},
      {L"D:\\Trusted\\wcmd_deu.lng", false},
      {L"C:/Programs/Rust/wcmd_eng.lng", false},
      {L"Z:wcmd_rus.lng", true},
      {L"wcmd_deu.lng", false},
      {L"D:\\Trusted\\", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsRussianLanguageFile(c.path), c.russian);
}

}  // namespace
}  // namespace kontaktel
