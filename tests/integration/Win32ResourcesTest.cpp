// The resources windres links into the Windows executables: the icons and the Delete
// bitmap in 16 colours, the string the portable code registers too, the version of the
// real varnok.exe and the manifest's common controls 6.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/CString.h"
#include "platform/win32/Utf8.h"
#include "tests/support/win32/WinTempDir.h"
#include "ui/resource.h"

// From framework/DialogWindow.h, whose Windows names would clash with <windows.h> here.
CString AfxLoadString(int id);

namespace {

HMODULE Self() { return GetModuleHandleW(nullptr); }

// Both icons hold their own 32 and 16 pixel pictures in 4 bits a pixel: none is scaled
// from the other size when it is loaded.
TEST(Win32ResourcesTest, IconsHoldEachSizeInSixteenColours) {
    for (const int id : {IDR_MAINFRAME, IDI_SMALL}) {
        for (const int size : {32, 16}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            HRSRC group = FindResourceW(Self(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
            ASSERT_NE(group, nullptr);
            auto* dir = static_cast<BYTE*>(LockResource(LoadResource(Self(), group)));
            const int iconId = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
            HRSRC picture = FindResourceW(Self(), MAKEINTRESOURCEW(iconId), RT_ICON);
            ASSERT_NE(picture, nullptr);
            const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Self(), picture)));
            EXPECT_EQ(header->biWidth, size);
            EXPECT_EQ(header->biHeight, 2 * size);  // the colour picture and its mask
            EXPECT_EQ(header->biBitCount, 4);

            HICON icon = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size);
            EXPECT_EQ(bm.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(Win32ResourcesTest, DeleteBitmapIsEightyTwoByFiftyFiveInSixteenColours) {
    HANDLE bitmap = LoadImageW(Self(), MAKEINTRESOURCEW(IDB_DELETE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 82);
    EXPECT_EQ(bm.bmHeight, 55);
    EXPECT_EQ(bm.bmBitsPixel, 4);
    DeleteObject(bitmap);
}

// The system menu's item reads the same from the string table and from the portable code.
TEST(Win32ResourcesTest, AboutStringMatchesWhatThePortableCodeRegisters) {
    wchar_t text[64];
    const int n = LoadStringW(Self(), IDS_ABOUTBOX, text, 64);
    ASSERT_GT(n, 0);
    EXPECT_EQ(WideToUtf8(text, n), AfxLoadString(IDS_ABOUTBOX).str());
    EXPECT_EQ(WideToUtf8(text, n), "&About varnok...");
}

// What Explorer's Details page shows for the real program: it finds the strings through
// the translation, so a block under another language or code page would show nothing.
TEST(Win32ResourcesTest, ProgramCarriesItsVersion) {
    const std::wstring exe = Utf8ToWide(OwnFolder() + "\\..\\" + VARNOK_EXE);
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(4, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(4, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
    ASSERT_GE(len, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const struct {
        const wchar_t* name;
        std::string value;
    } kStrings[] = {
        {L"CompanyName", VARNOK_COMPANY},      {L"FileVersion", "1.4.0.0"},         {L"InternalName", "varnok"},
        {L"LegalCopyright", VARNOK_COPYRIGHT}, {L"OriginalFilename", "varnok.exe"}, {L"ProductName", "Varnok"},
        {L"ProductVersion", "1.4.0.0"},
    };
    for (const auto& s : kStrings) {
        SCOPED_TRACE(WideToUtf8(s.name));
        wchar_t key[96];
        swprintf(key, 96, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], s.name);
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &len));
        EXPECT_EQ(WideToUtf8(value), s.value);
    }
}

// The manifest's dependency sends comctl32.dll to the common controls 6 assembly (without
// it the system hands out version 5). DllGetVersion would not tell: Wine's version 6 says 5.
TEST(Win32ResourcesTest, ManifestBringsCommonControlsSix) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    ASSERT_TRUE(FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                         ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data));
    DWORD index = data.ulAssemblyRosterIndex;
    SIZE_T needed = 0;
    QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0, &needed);
    ASSERT_GT(needed, 0u);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                             needed, &needed));
    ReleaseActCtx(data.hActCtx);
    const auto* assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    const std::string identity = WideToUtf8(assembly->lpAssemblyEncodedAssemblyIdentity);
    EXPECT_NE(identity.find("Microsoft.Windows.Common-Controls"), std::string::npos) << identity;
    EXPECT_NE(identity.find("version=\"6.0."), std::string::npos) << identity;
}

}  // namespace
