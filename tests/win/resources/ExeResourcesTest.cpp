// The version resource and the application manifest of the built kirelo.exe (its path is the
// program's argument), read back through the version API and an activation context.
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "KireloVersion.h"

namespace {

std::wstring ExePath() {
    // gtest has taken its own flags out; the one left is the program's path.
    for (int i = 1; i < __argc; ++i) {
        if (__argv[i][0] != '-') {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, __argv[i], -1, wide, MAX_PATH);
            return wide;
        }
    }
    return std::wstring();
}

class ExeVersion : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = ExePath();
        ASSERT_FALSE(path_.empty()) << "usage: exe_resources_win PATH\\kirelo.exe";
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &handle);
        ASSERT_GT(size, 0u) << "no version resource";
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, &block_[0]));
    }
    std::wstring Text(const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        if (!VerQueryValueW(block_.data(), key.c_str(), &value, &length) || length == 0) {
            return L"<missing>";
        }
        return static_cast<const wchar_t*>(value);
    }
    std::wstring path_;
    std::string block_;
};

TEST_F(ExeVersion, FixedNumbersAreTheProjectVersion) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = (KIRELO_VERSION_MAJOR << 16) | KIRELO_VERSION_MINOR;
    const DWORD low = static_cast<DWORD>(KIRELO_VERSION_PATCH) << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(ExeVersion, JapaneseStringBlockNamesTheProgram) {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0x411);
    EXPECT_EQ(translation->codePage, 1200);

    wchar_t version[32] = {};
    MultiByteToWideChar(CP_ACP, 0, KIRELO_VERSION_TEXT, -1, version, 32);
    EXPECT_EQ(Text(L"ProductName"), L"Kirelo");
    EXPECT_EQ(Text(L"FileDescription"), L"キレロ 虫めがねの中のアリたち");
    EXPECT_EQ(Text(L"FileVersion"), version);
    EXPECT_EQ(Text(L"ProductVersion"), version);
    EXPECT_EQ(Text(L"OriginalFilename"), L"kirelo.exe");
    EXPECT_EQ(Text(L"LegalCopyright").rfind(L"Copyright (C) ", 0), 0u) << "no copyright";
}

// The manifest as text, from resource 1 of type RT_MANIFEST.
std::string ManifestOf(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return std::string();
    }
    std::string text;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (found != nullptr) {
        HGLOBAL loaded = LoadResource(module, found);
        text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

TEST(ExeManifest, SaysWhatTheProgramNeeds) {
    const std::string manifest = ManifestOf(ExePath());
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    EXPECT_EQ(manifest.rfind("<?xml", 0), 0u);
    const std::string version = std::string("version=\"") + KIRELO_VERSION_TEXT + ".0\"";
    EXPECT_NE(manifest.find(version), std::string::npos) << "assembly version";
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",     // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",     // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",     // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {  // 10 and 11
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    }
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST(ExeManifest, LoaderAcceptsIt) {
    // The activation context parses the manifest as the loader does: broken XML or a wrong
    // assembly identity fails here.
    const std::wstring path = ExePath();
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE handle = CreateActCtxW(&context);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ReleaseActCtx(handle);
}

}  // namespace
