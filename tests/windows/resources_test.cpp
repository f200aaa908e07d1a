// The program's resources as Windows itself reads them: the built launch.exe
// (beside this test program) loaded as a resource file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string launch_path() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own(path, length);
  return own.substr(0, own.find_last_of('\\') + 1) + "launch.exe";
}

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(launch_path().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << launch_path() << ": error " << GetLastError();
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

// Width, height and colour depth of an icon's colour image.
struct IconShape {
  LONG width, height;
  WORD bits;
  bool operator==(const IconShape& other) const {
    return width == other.width && height == other.height && bits == other.bits;
  }
};

IconShape shape_of(HICON icon) {
  ICONINFO info = {};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0, 0};
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {colour.bmWidth, colour.bmHeight, colour.bmBitsPixel};
}

TEST_F(Resources, TheProgramIconLoads) {
  HICON icon = LoadIconA(module_, "MAINICON");
  ASSERT_NE(icon, nullptr) << "error " << GetLastError();
  IconShape shape = shape_of(icon);
  EXPECT_EQ(shape.width, 32);
  EXPECT_EQ(shape.height, 32);
}

// Each image of the group, as Windows takes it for a screen of its depth.
TEST_F(Resources, BothIconImagesAreValidBitmaps) {
  HRSRC group = FindResourceA(module_, "MAINICON", RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module_, group)));
  ASSERT_GE(SizeofResource(module_, group), 6u);
  WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  ASSERT_EQ(SizeofResource(module_, group), 6u + 14u * count);
  std::vector<IconShape> shapes;
  for (WORD i = 0; i < count; ++i) {
    // An entry: width, height, colours, reserved, planes, bits, size, id.
    const BYTE* entry = directory + 6 + 14 * i;
    WORD id = *reinterpret_cast<const WORD*>(entry + 12);
    HRSRC image = FindResourceA(module_, MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_NE(image, nullptr) << id;
    auto* bitmap = static_cast<BYTE*>(LockResource(LoadResource(module_, image)));
    WORD bits = reinterpret_cast<BITMAPINFOHEADER*>(bitmap)->biBitCount;
    HICON icon = CreateIconFromResourceEx(bitmap, SizeofResource(module_, image), TRUE, 0x00030000,
                                          0, 0, LR_DEFAULTSIZE);
    EXPECT_NE(icon, nullptr) << id << ": error " << GetLastError();
    IconShape shape = shape_of(icon);
    shapes.push_back({shape.width, shape.height, bits});
    if (icon != nullptr) DestroyIcon(icon);
  }
  std::vector<IconShape> expected = {{32, 32, 8}, {32, 32, 32}};
  EXPECT_EQ(shapes, expected);
}

std::string version_value(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      length == 0)
    return "<missing>";
  return std::string(value, length - 1);
}

TEST(Version, FieldsAsExplorerShowsThem) {
  DWORD size = GetFileVersionInfoSizeA(launch_path().c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(launch_path().c_str(), 0, size, block.data()));
  const std::string version = LAUNCH_VERSION;
  struct Field {
    const char* name;
    std::string value;
  };
  for (const Field& field : {Field{"ProductVersion", version}, Field{"FileVersion", version + ".0"},
                             Field{"OriginalFilename", "launch.exe"}, Field{"InternalName", "launch"},
                             Field{"ProductName", "launch"}})
    EXPECT_EQ(version_value(block, field.name), field.value) << field.name;
  for (const char* name : {"FileDescription", "LegalCopyright"})
    EXPECT_NE(version_value(block, name), "<missing>") << name;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  char numbers[64];
  wsprintfA(numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, version);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// The manifest as the loader reads it when the program starts.
class Manifest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string path = launch_path();
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    context_ = CreateActCtxA(&request);
    ASSERT_NE(context_, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  }
  void TearDown() override {
    if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
  }
  std::wstring setting(const wchar_t* name_space, const wchar_t* name) {
    wchar_t value[256] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context_, name_space, name, value, 256, &written)) return L"<missing>";
    return value;
  }
  HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST_F(Manifest, RunsAsInvokerNeverElevated) {
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, RunlevelInformationInActivationContext, &level,
                           sizeof level, nullptr));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(level.UiAccess, 0u);
}

// The answer as Windows 10 and later (and Wine) lay it out: each element
// also carries a maximum version tested, which the older headers lack.
struct CompatibilityElement {
  GUID id;
  DWORD type;
  ULONGLONG max_version_tested;
};
struct CompatibilityInformation {
  DWORD count;
  CompatibilityElement elements[8];
};

TEST_F(Manifest, SupportsVistaToEleven) {
  CompatibilityInformation info = {};
  ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, CompatibilityInformationInActivationContext, &info,
                           sizeof info, nullptr));
  // Vista, 7, 8, 8.1, 10 and 11 (one identifier for the last two).
  const GUID expected[] = {
      {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}};
  ASSERT_EQ(info.count, 5u);
  for (DWORD i = 0; i < info.count; ++i) {
    EXPECT_EQ(info.elements[i].type, static_cast<DWORD>(ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS));
    EXPECT_TRUE(IsEqualGUID(info.elements[i].id, expected[i])) << i;
  }
}

TEST_F(Manifest, AwareOfEachMonitorsDpi) {
  const wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  const wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  EXPECT_EQ(setting(kSettings2005, L"dpiAware"), L"true/pm");
  EXPECT_EQ(setting(kSettings2016, L"dpiAwareness"), L"PerMonitorV2, PerMonitor");
}

}  // namespace
