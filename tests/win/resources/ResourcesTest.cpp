// The resources as Windows sees them once kirelo.rc is linked into a program: every bitmap in the
// layout the drawing code expects, the context menu in Japanese and in English with its ids,
// check marks and structure, every text in both languages, the icons at their sizes and the
// cursors with their hot spots.
// This file is UTF-8; narrow literals are compiled to code page 932 (-fexec-charset=CP932).
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "TextIds.h"
#include "platform/UiText.h"
#include "platform/UniqueHandle.h"

namespace {

HINSTANCE Self() {
    return GetModuleHandleA(nullptr);
}

struct BitmapCase {
    int id;
    int width;
    int height;
};

class Bitmaps : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(Bitmaps, InfoHeaderAndLayout) {
    const BitmapCase c = GetParam();
    HRSRC res = FindResourceA(Self(), MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_NE(res, nullptr) << "bitmap " << c.id;
    HGLOBAL mem = LoadResource(Self(), res);
    ASSERT_NE(mem, nullptr);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(mem));
    ASSERT_NE(info, nullptr);
    const DWORD size = SizeofResource(Self(), res);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER) + 64);
    EXPECT_EQ(info->biSize, 40u);
    EXPECT_EQ(info->biWidth, c.width);
    EXPECT_EQ(info->biHeight, c.height) << "bottom-up";
    EXPECT_EQ(info->biPlanes, 1);
    EXPECT_EQ(info->biBitCount, 4);
    EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(info->biClrUsed == 0 || info->biClrUsed == 16) << info->biClrUsed;
    const DWORD stride = ((c.width * 4 + 31) / 32) * 4;
    EXPECT_EQ(size, 40 + 16 * 4 + stride * c.height)
        << "pixels right after the 16-entry colour table";

    // GDI can make a DIB section of it at the same size
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(Self(), MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bmp, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, c.width);
    EXPECT_EQ(ds.dsBm.bmHeight, c.height);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 4);
    DeleteObject(bmp);
}

INSTANTIATE_TEST_SUITE_P(
    All, Bitmaps,
    ::testing::Values(BitmapCase{IDB_ANTS, 128, 16}, BitmapCase{IDB_BALL, 16, 32},
                      BitmapCase{IDB_FIELD, 455, 312}, BitmapCase{IDB_HEART, 16, 32},
                      BitmapCase{IDB_MAGNIFIER_SHAPE, 300, 360},
                      BitmapCase{IDB_MAGNIFIER, 300, 720}, BitmapCase{IDB_ANT_SHAPES, 128, 8},
                      BitmapCase{IDB_HEART_SHAPE, 16, 16}, BitmapCase{IDB_TITLE, 100, 100}));

std::string MenuText(HMENU menu, UINT pos) {
    char buf[256] = {};
    const int n = GetMenuStringA(menu, pos, buf, sizeof buf, MF_BYPOSITION);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring MenuTextW(HMENU menu, UINT pos) {
    wchar_t buf[256] = {};
    const int n = GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string Cp932(const std::wstring& text) {
    char bytes[512] = {};
    const int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                                      sizeof bytes, nullptr, nullptr);
    return std::string(bytes, n > 0 ? static_cast<size_t>(n) : 0);
}

bool IsSeparator(HMENU menu, UINT pos) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, pos, TRUE, &mi) && (mi.fType & MFT_SEPARATOR) != 0;
}

// The menu's structure, the same in every language: ids (0 separator, -1 popup) and check marks.
struct Slot {
    int id;
    bool checked;
};
const Slot kTop[] = {{-1, false}};
const Slot kMain[] = {{-1, false},         {-1, false},      {IDM_BACKGROUND_RESET, false},
                      {IDM_CENTER, false}, {0, false},       {IDM_HELP, false},
                      {0, false},          {IDM_EXIT, false}};
const Slot kSize[] = {
    {IDM_SCALE_AUTO, true}, {IDM_SCALE_1, true}, {IDM_SCALE_2, true}, {IDM_SCALE_3, true}};
const Slot kView[] = {{IDM_TRAIL_SHOW, true}, {IDM_TRAIL_HIDE, true}, {0, false},
                      {IDM_TOPMOST, true},    {IDM_NORMAL, true},     {0, false},
                      {IDM_WAIT_ON, true},    {IDM_WAIT_OFF, true}};

// The access key of a menu text: the letter after the single '&'.
wchar_t AccessKey(const std::wstring& text) {
    const size_t amp = text.find(L'&');
    EXPECT_NE(amp, std::wstring::npos) << "no access key";
    EXPECT_EQ(text.find(L'&', amp + 1), std::wstring::npos) << "two access keys";
    return amp + 1 < text.size() ? static_cast<wchar_t>(towupper(text[amp + 1])) : L'\0';
}

// Checks a menu against its slots and texts (code page 932 bytes, "" for a separator), read both
// through the narrow and the wide call; the access keys of one menu differ from each other.
void ExpectItems(HMENU menu, const Slot* slots, const char* const* texts, int count,
                 const char* where, bool keys) {
    ASSERT_EQ(GetMenuItemCount(menu), count) << where;
    std::set<wchar_t> seen;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(::testing::Message() << where << " item " << i);
        const Slot& it = slots[i];
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        EXPECT_EQ(IsSeparator(menu, i), it.id == 0);
        if (it.id == 0) {
            continue;
        }
        EXPECT_EQ(MenuText(menu, i), texts[i]);
        EXPECT_EQ(Cp932(MenuTextW(menu, i)), texts[i]);
        if (keys) {
            EXPECT_TRUE(seen.insert(AccessKey(MenuTextW(menu, i))).second) << "repeated key";
        }
        EXPECT_EQ(GetSubMenu(menu, i) != nullptr, it.id == -1);
        if (it.id != -1) {
            EXPECT_EQ(GetMenuItemID(menu, i), static_cast<UINT>(it.id));
            EXPECT_EQ((state & MF_CHECKED) != 0, it.checked);
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u);
        }
    }
}

// The English access keys were chosen to differ; the Japanese ones are kept as they have
// always been.
TEST(Menu, PopupMenuInJapaneseAndEnglishWithTheSameCommands) {
    const struct {
        LANGID language;
        const char* main[8];
        const char* view[8];
        const char* size[4];
        bool distinctKeys;
    } menus[] = {
        {UiText::kJapanese,
         {"表示(&V)", "大きさ(&S)", "背景を標準に戻す(&B)", "ウインドウを中央に表示(&C)", "",
          "ヘルプを表示(&H)", "", "終了(&X)"},
         {"フェロモン道を表示する(&Y)", "フェロモン道を表示しない(&N)", "",
          "ウインドウを一番手前に表示(&T)", "ウインドウを普通に表示(&N)", "",
          "ウエイトをかける(&W)", "ウエイトをかけない(&F)"},
         {"自動(&A)", "等倍(&1)", "2倍(&2)", "3倍(&3)"},
         false},
        {UiText::kEnglish,
         {"&View", "&Size", "&Back to dry leaves", "&Center the window", "", "&Help", "", "E&xit"},
         {"&Show trails", "&Hide trails", "", "Always on &top", "&Normal window", "",
          "Steady &pace", "&Full speed"},
         {"&Automatic", "&1x", "&2x", "&3x"},
         true},
    };
    const char* const top[] = {"PopupMenu"};
    for (const auto& m : menus) {
        HMENU bar = UiText::Menu(IDR_POPUPMENU, m.language);
        ASSERT_NE(bar, nullptr) << m.language;
        ExpectItems(bar, kTop, top, 1, "menu", false);
        HMENU popup = GetSubMenu(bar, 0);
        ASSERT_NE(popup, nullptr);
        ExpectItems(popup, kMain, m.main, 8, "PopupMenu", m.distinctKeys);
        ASSERT_NE(GetSubMenu(popup, 0), nullptr);
        ExpectItems(GetSubMenu(popup, 0), kView, m.view, 8, m.main[0], m.distinctKeys);
        // The size submenu is new: its keys differ in both languages.
        ASSERT_NE(GetSubMenu(popup, 1), nullptr);
        ExpectItems(GetSubMenu(popup, 1), kSize, m.size, 4, m.main[1], true);
        DestroyMenu(bar);
    }
    // the ids are the ones the program's command handler switches on
    const int ids[] = {IDM_EXIT,    IDM_TRAIL_SHOW,       IDM_TRAIL_HIDE, IDM_TOPMOST,
                       IDM_NORMAL,  IDM_BACKGROUND_RESET, IDM_CENTER,     IDM_HELP,
                       IDM_WAIT_ON, IDM_WAIT_OFF,         IDM_SCALE_AUTO, IDM_SCALE_1,
                       IDM_SCALE_2, IDM_SCALE_3};
    const int want[] = {40001, 40002, 40003, 40004, 40005, 40006, 40010,
                        40011, 40013, 40014, 40015, 40016, 40017, 40018};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(ids[i], want[i]) << i;
    }
}

TEST(Menu, OnlyJapaneseAndEnglishExist) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(
        Self(), MAKEINTRESOURCEW(4) /* RT_MENU */, MAKEINTRESOURCEW(IDR_POPUPMENU),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(std::set<LANGID>(languages.begin(), languages.end()),
              (std::set<LANGID>{UiText::kJapanese, UiText::kEnglish}));
}

// Every text a user reads, in both languages: the Japanese byte for byte as it has always been,
// the English as written for it.
struct TextCase {
    uint32_t id;
    const char* japanese;  // code page 932 bytes
    const wchar_t* english;
};

const TextCase kTexts[] = {
    {IDS_FILE_OPEN, "ファイルのオープンに失敗しました", L"Couldn't open that file."},
    {IDS_FILE_OPEN_CAPTION, "ファイルオープンエラー", L"Can't open file"},
    {IDS_NOT_BITMAP, "開いたファイルはビットマップファイルではありません",
     L"That file isn't a BMP picture."},
    {IDS_NOT_BITMAP_CAPTION, "ファイルタイプエラー", L"Not a picture"},
    {IDS_BAD_BITMAP,
     "ビットマップ情報の取得に失敗しました。\n有効なビットマップデータではない可能性があります。"
     "\n読み込みを終了します。",
     L"Couldn't read this picture.\nIts data may be damaged.\nLoading stopped."},
    {IDS_BAD_BITMAP_CAPTION, "ビットマップデータエラー", L"Damaged picture"},
    {IDS_BAD_RESOURCE_CAPTION, "ビットマップリソースデータエラー", L"Damaged built-in picture"},
    {IDS_RESOURCE_MISSING, "指定されたビットマップリソースが見つかりません",
     L"A built-in picture is missing."},
    {IDS_RESOURCE_MISSING_CAPTION, "ビットマップリソース検索エラー", L"Picture missing"},
    {IDS_RESOURCE_LOAD, "指定されたビットマップリソースをロードできません",
     L"Couldn't load a built-in picture."},
    {IDS_RESOURCE_LOAD_CAPTION, "ビットマップリソースロードエラー", L"Picture not loaded"},
    {IDS_PALETTE_CREATE,
     "パレットの作成に失敗しました。\n有効なパレットデータではない可能性があります。",
     L"Couldn't make the colour palette.\nIts data may be damaged."},
    {IDS_PALETTE_CREATE_CAPTION, "パレット作成エラー", L"Can't make palette"},
    {IDS_PALETTE_REALIZE, "パレットの実体化に失敗！\nパレットデータが正しくない可能性があります。",
     L"Couldn't use the colour palette!\nIts data may be wrong."},
    {IDS_PALETTE_REALIZE_CAPTION, "パレットエラー", L"Palette error"},
    {IDS_METHOD_CAPTION, "メソッドエラー", L"Drawing error"},
    {IDS_COPY_NEEDS_256, "このDIBCopyは256色以上専用です",
     L"This DIBCopy needs 256 colours or more."},
    {IDS_COPY_SAME_FORMAT, "このDIBCopyは同じピクセルフォーマット同士専用です",
     L"This DIBCopy needs both pictures in the same pixel format."},
    {IDS_MASK_DESTINATION, "このDIBMaskCopyはフルカラー（32bit）専用です",
     L"This DIBMaskCopy needs full colour (32-bit)."},
    {IDS_MASK_SOURCE, "このDIBMaskCopyは同じピクセルフォーマット同士(フルカラー32bit)専用です",
     L"This DIBMaskCopy needs both pictures in full colour (32-bit)."},
    {IDS_MASK_MASK, "このDIBMaskCopyはフルカラー値配列専用です",
     L"This DIBMaskCopy needs a full-colour mask."},
    {IDS_REGION_NEEDS_32, "このGetTransRgnはフルカラー(32bit)専用です",
     L"This GetTransRgn needs full colour (32-bit)."},
    {IDS_INDEX_CAPTION, "インデックス指定エラー", L"Index error"},
    {IDS_NO_PHEROMONE_POINT, "フェロモンポイントがないです", L"There's no trail point there."},
    {IDS_NO_ANT, "ありさんがいないよう", L"There's no ant there."},
    {IDS_NO_HEART, "ハートがないです", L"There's no heart there."},
    {IDS_TOO_NARROW, "ビットマップの幅が小さすぎます。", L"That picture is too narrow."},
    {IDS_TOO_LOW, "ビットマップの高さが小さすぎます。", L"That picture is too short."},
    {IDS_TOO_SMALL_CAPTION, "警告", L"Picture too small"},
    {IDS_BACKGROUND_RESET, "前回の背景画像の読み込みに失敗しました。\n背景画像は初期化されます。",
     L"Couldn't load last time's background picture.\nThe ants are back on the dry leaves."},
    {IDS_BACKGROUND_RESET_CAPTION, "背景画像初期化", L"Background reset"},
    {IDS_FOUND, "みつかっちまった", L"Oops, you found me!"},
    {IDS_FOUND_CAPTION, "はぐれありさん", L"Stray ant"},
    {IDS_THANK_YOU, "幸せにしてくれてありがとう", L"Thanks for making us happy!"},
    {IDS_THANK_YOU_CAPTION, "Kirelo終了報告", L"Goodbye from Kirelo"},
    {IDS_TRAY_TIP, "ありさんを幸せにしてあげてね", L"Make the ants happy!"},
};

TEST(Texts, EveryTextInBothLanguages) {
    ASSERT_EQ(sizeof kTexts / sizeof kTexts[0], static_cast<size_t>(IDS_LAST - IDS_FIRST + 1))
        << "every id from IDS_FIRST to IDS_LAST is in the table";
    for (const TextCase& c : kTexts) {
        EXPECT_EQ(Cp932(UiText::Text(c.id, UiText::kJapanese)), c.japanese) << "text " << c.id;
        EXPECT_EQ(UiText::Text(c.id, UiText::kEnglish), c.english) << "text " << c.id;
    }
}

// Counts the non-empty strings of a language in every string block of the module.
size_t StringsIn(LANGID language) {
    std::vector<UINT> blocks;
    EnumResourceNamesW(
        Self(), MAKEINTRESOURCEW(6) /* RT_STRING */,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<UINT>*>(found)->push_back(
                static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&blocks));
    size_t count = 0;
    for (UINT block : blocks) {
        for (UINT i = 0; i < 16; ++i) {
            count += UiText::Text((block - 1) * 16 + i, language).empty() ? 0 : 1;
        }
    }
    return count;
}

TEST(Texts, NoTextOutsideTheIdsAndNoThirdLanguage) {
    EXPECT_EQ(StringsIn(UiText::kJapanese), sizeof kTexts / sizeof kTexts[0]);
    EXPECT_EQ(StringsIn(UiText::kEnglish), sizeof kTexts / sizeof kTexts[0]);
    EXPECT_EQ(UiText::Text(IDS_FOUND, MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT)), L"");
    EXPECT_EQ(UiText::Text(IDS_LAST + 1, UiText::kEnglish), L"");
}

TEST(Texts, JapaneseForJapaneseEnglishForEveryOtherUiLanguage) {
    const struct {
        LANGID ui;
        LANGID chosen;
    } cases[] = {
        {0x0411, UiText::kJapanese},  // Japanese
        {0x0409, UiText::kEnglish},   // English (US)
        {0x0809, UiText::kEnglish},   // English (UK)
        {0x0407, UiText::kEnglish},   // German
        {0x0804, UiText::kEnglish},   // Chinese (simplified): its own script, still English
        {0x0412, UiText::kEnglish},   // Korean
        {0x0000, UiText::kEnglish},   // neutral
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UiText::LanguageFor(c.ui), c.chosen) << std::hex << c.ui;
    }
}

// The icons at the sizes they are drawn in, the cursors at 32 with their hot spots; an image
// without a colour bitmap holds its mask and its colour in one bitmap of twice the height.
TEST(IconsAndCursors, LoadAtTheirSizesWithTheirHotSpots) {
    const struct {
        int id;
        bool icon;
        int size, x, y;
    } cases[] = {{IDI_APP, true, 32, 16, 16},
                 {IDI_SMALL, true, 16, 8, 8},
                 {IDC_STICK, false, 32, 12, 28},
                 {IDC_BINOCULARS, false, 32, 15, 15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        UniqueIcon image(static_cast<HICON>(
            LoadImageA(Self(), MAKEINTRESOURCEA(c.id), c.icon ? IMAGE_ICON : IMAGE_CURSOR,
                       c.icon ? c.size : 0, c.icon ? c.size : 0, c.icon ? 0 : LR_DEFAULTSIZE)));
        ASSERT_TRUE(image);
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(image.get(), &ii));
        const UniqueBitmap mask(ii.hbmMask);
        const UniqueBitmap colour(ii.hbmColor);
        EXPECT_EQ(ii.fIcon != FALSE, c.icon);
        EXPECT_EQ(ii.xHotspot, static_cast<DWORD>(c.x));
        EXPECT_EQ(ii.yHotspot, static_cast<DWORD>(c.y));
        BITMAP bm{};
        ASSERT_TRUE(GetObjectA(colour ? colour.get() : mask.get(), sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, c.size);
        EXPECT_EQ(bm.bmHeight, colour ? c.size : 2 * c.size);
    }
    // the icons hold exactly one image each, in the size they are drawn for
    HRSRC group =
        FindResourceA(Self(), MAKEINTRESOURCEA(IDI_APP), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const WORD*>(LockResource(LoadResource(Self(), group)));
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir[1], 1) << "icon type";
    EXPECT_EQ(dir[2], 1) << "one image";
    const auto* entry = reinterpret_cast<const BYTE*>(dir + 3);
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 4) << "4 bits per pixel";
}

}  // namespace
