// The resources inside moviquel.exe, read back from the executable's own resource tree:
// menu 102, accelerators 103, About dialog 103, icon 101, the version block and the two
// pictures. The expected bytes are written out here by hand from the Win32 template
// layouts, independently of the resource script that produced them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A little-endian reader over one resource's bytes; reads past the end fail the test.
class Reader {
 public:
  Reader(const Bytes& bytes, std::size_t offset = 0) : bytes_(bytes), at_(offset) {}

  std::uint16_t word() {
    need(2);
    const auto value = static_cast<std::uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return value;
  }
  std::uint32_t dword() {
    const std::uint32_t low = word();
    const std::uint32_t high = word();
    return low | high << 16;
  }
  std::uint8_t byte() {
    need(1);
    return bytes_[at_++];
  }
  // A zero-terminated UTF-16 string of 7-bit characters, as the templates store them.
  std::string text() {
    std::string out;
    for (std::uint16_t unit = word(); unit != 0; unit = word()) {
      out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return out;
  }
  void align(std::size_t to) {
    while (at_ % to != 0) ++at_;
  }
  std::size_t position() const { return at_; }
  bool at_end() const { return at_ >= bytes_.size(); }

 private:
  void need(std::size_t count) {
    if (at_ + count > bytes_.size()) {
      ADD_FAILURE() << "read past the end of the resource at " << at_;
      at_ = bytes_.size() - count;  // keeps reading in bounds after the failure
    }
  }

  const Bytes& bytes_;
  std::size_t at_;
};

// The resource tree of a PE file (32- or 64-bit): type, name and first language.
class PeResources {
 public:
  explicit PeResources(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    file_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (file_.size() < 0x40) return;
    const std::uint32_t pe = u32(0x3C);
    if (pe + 24 > file_.size() || u32(pe) != 0x00004550u) return;  // "PE\0\0"
    machine_ = u16(pe + 4);
    const std::uint16_t sections = u16(pe + 6);
    const std::uint16_t optional_size = u16(pe + 20);
    const std::size_t optional = pe + 24;
    const bool pe32_plus = u16(optional) == 0x20B;
    const std::size_t directories = optional + (pe32_plus ? 112 : 96);
    resource_rva_ = u32(directories + 2 * 8);  // data directory 2: resources
    const std::size_t table = optional + optional_size;
    for (std::uint16_t i = 0; i < sections; ++i) {
      const std::size_t s = table + i * 40u;
      sections_.push_back({u32(s + 12), std::max(u32(s + 8), u32(s + 16)), u32(s + 20)});
    }
    ok_ = resource_rva_ != 0 && offset_of(resource_rva_).has_value();
  }

  bool ok() const { return ok_; }
  std::uint16_t machine() const { return machine_; }

  // The data of resource (type, id) in its first language; a string type when type_name
  // is not empty.
  std::optional<Bytes> find(std::uint16_t type_id, const std::string& type_name,
                            std::uint16_t id) const {
    const auto root = *offset_of(resource_rva_);
    const auto type_dir = child(root, root, type_id, type_name);
    if (!type_dir) return std::nullopt;
    const auto name_dir = child(root, *type_dir, id, "");
    if (!name_dir) return std::nullopt;
    const auto leaf = first_entry(root, *name_dir);
    if (!leaf) return std::nullopt;
    const auto data = offset_of(u32(*leaf));
    const std::uint32_t size = u32(*leaf + 4);
    if (!data || *data + size > file_.size()) return std::nullopt;
    return Bytes(file_.begin() + static_cast<std::ptrdiff_t>(*data),
                 file_.begin() + static_cast<std::ptrdiff_t>(*data + size));
  }

 private:
  struct Section {
    std::uint32_t rva;
    std::uint32_t size;
    std::uint32_t raw;
  };

  std::uint16_t u16(std::size_t at) const {
    return at + 2 <= file_.size() ? static_cast<std::uint16_t>(file_[at] | file_[at + 1] << 8) : 0;
  }
  std::uint32_t u32(std::size_t at) const {
    return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
  }
  std::optional<std::size_t> offset_of(std::uint32_t rva) const {
    for (const Section& s : sections_) {
      if (rva >= s.rva && rva < s.rva + s.size) return s.raw + (rva - s.rva);
    }
    return std::nullopt;
  }
  std::string name_at(std::size_t root, std::uint32_t offset) const {
    const std::size_t at = root + offset;
    std::string out;
    for (std::uint16_t i = 0, n = u16(at); i < n; ++i) {
      out.push_back(static_cast<char>(u16(at + 2 + 2u * i)));
    }
    return out;
  }
  // The subdirectory or leaf under directory dir for the id (or string name).
  std::optional<std::size_t> child(std::size_t root, std::size_t dir, std::uint16_t id,
                                   const std::string& name) const {
    const std::size_t count = static_cast<std::size_t>(u16(dir + 12)) + u16(dir + 14);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t entry = dir + 16 + 8 * i;
      const std::uint32_t key = u32(entry);
      const std::uint32_t target = u32(entry + 4);
      const bool by_name = (key & 0x80000000u) != 0;
      const bool match = name.empty() ? (!by_name && key == id)
                                      : (by_name && name_at(root, key & 0x7FFFFFFFu) == name);
      if (match) return root + (target & 0x7FFFFFFFu);
    }
    return std::nullopt;
  }
  std::optional<std::size_t> first_entry(std::size_t root, std::size_t dir) const {
    if (static_cast<std::size_t>(u16(dir + 12)) + u16(dir + 14) == 0) return std::nullopt;
    return root + (u32(dir + 16 + 4) & 0x7FFFFFFFu);
  }

  Bytes file_;
  std::vector<Section> sections_;
  std::uint32_t resource_rva_ = 0;
  std::uint16_t machine_ = 0;
  bool ok_ = false;
};

const PeResources& exe() {
  static const PeResources resources(MQ_WINDOWS_EXE);
  return resources;
}

Bytes resource(std::uint16_t type, std::uint16_t id) {
  const auto data = exe().find(type, "", id);
  EXPECT_TRUE(data.has_value()) << "no resource of type " << type << " with id " << id;
  return data.value_or(Bytes{});
}

// Resource types (RT_*).
constexpr std::uint16_t kIcon = 3;
constexpr std::uint16_t kMenu = 4;
constexpr std::uint16_t kDialog = 5;
constexpr std::uint16_t kAccelerator = 9;
constexpr std::uint16_t kGroupIcon = 14;
constexpr std::uint16_t kVersion = 16;

TEST(WindowsResources, ExecutableIsA32BitWindowsProgramWithAResourceTree) {
  ASSERT_TRUE(exe().ok()) << MQ_WINDOWS_EXE;
  EXPECT_EQ(exe().machine(), 0x014C);  // IMAGE_FILE_MACHINE_I386
}

TEST(WindowsResources, MenuHasTheFilePopupWithItsTwelveEntriesInOrder) {
  const Bytes menu = resource(kMenu, 102);
  ASSERT_FALSE(menu.empty());
  Reader in(menu);
  EXPECT_EQ(in.word(), 0);                // standard menu template, version 0
  EXPECT_EQ(in.word(), 0);                // no header extension
  EXPECT_EQ(in.word(), 0x0010 | 0x0080);  // MF_POPUP | MF_END: the only popup
  EXPECT_EQ(in.text(), "&File");
  struct Item {
    std::uint16_t id;  // 0 with an empty text: a separator
    const char* text;
  };
  const Item expected[] = {{0, ""},
                           {1000, "About M.Q.L. Player"},
                           {0, ""},
                           {0, ""},
                           {40002, "Moviquels on the WEB"},
                           {0, ""},
                           {0, ""},
                           {1002, "Toggle Full-Screen\tAlt+Enter"},
                           {0, ""},
                           {0, ""},
                           {1001, "E&xit\tAlt+X"},
                           {0, ""}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const bool last = i + 1 == std::size(expected);
    EXPECT_EQ(in.word(), last ? 0x0080 : 0x0000) << "flags of entry " << i + 1;
    EXPECT_EQ(in.word(), expected[i].id) << "id of entry " << i + 1;
    EXPECT_EQ(in.text(), expected[i].text) << "text of entry " << i + 1;
  }
  EXPECT_TRUE(in.at_end());
}

TEST(WindowsResources, AcceleratorsAreEscAltEnterAndAltXAsVirtualKeysWithoutInversion) {
  const Bytes table = resource(kAccelerator, 103);
  // ACCELTABLEENTRY: flags, key, command, padding. FVIRTKEY 0x01, FNOINVERT 0x02, FALT
  // 0x10; the last entry carries 0x80.
  const Bytes expected = {0x03, 0x00, 0x1B, 0x00, 0xE9, 0x03, 0x00, 0x00,   // Esc -> 1001
                          0x13, 0x00, 0x0D, 0x00, 0xEA, 0x03, 0x00, 0x00,   // Alt+Enter -> 1002
                          0x93, 0x00, 0x58, 0x00, 0xE9, 0x03, 0x00, 0x00};  // Alt+X -> 1001
  EXPECT_EQ(table, expected);
}

TEST(WindowsResources, AboutDialogIsAnExtendedTemplateWithItsStylesSizeFontAndFiveControls) {
  const Bytes dialog = resource(kDialog, 103);
  ASSERT_FALSE(dialog.empty());
  Reader in(dialog);
  EXPECT_EQ(in.word(), 1);       // dlgVer
  EXPECT_EQ(in.word(), 0xFFFF);  // signature of DLGTEMPLATEEX
  EXPECT_EQ(in.dword(), 0u);     // help id
  EXPECT_EQ(in.dword(), 0u);     // extended style
  // WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, nothing else.
  EXPECT_EQ(in.dword(), 0x00C00000u | 0x00080000u | 0x80u | 0x40u);
  EXPECT_EQ(in.word(), 5);  // controls
  EXPECT_EQ(in.word(), 0);  // x
  EXPECT_EQ(in.word(), 0);  // y
  EXPECT_EQ(in.word(), 181);
  EXPECT_EQ(in.word(), 98);
  EXPECT_EQ(in.word(), 0);   // no menu
  EXPECT_EQ(in.word(), 0);   // the standard dialog class
  EXPECT_EQ(in.text(), "");  // empty caption
  EXPECT_EQ(in.word(), 8);   // points
  in.word();                 // weight
  in.byte();                 // italic
  in.byte();                 // character set
  EXPECT_EQ(in.text(), "MS Sans Serif");

  struct Control {
    std::uint32_t ex_style;
    std::uint32_t style;
    std::uint16_t x, y, cx, cy;
    std::uint32_t id;
    std::uint16_t class_atom;  // 0x80 button, 0x82 static
    const char* text;
  };
  // WS_CHILD | WS_VISIBLE = 0x50000000; SS_CENTER 0x1 with WS_GROUP 0x20000; BS_GROUPBOX 0x7;
  // BS_DEFPUSHBUTTON 0x1 with WS_TABSTOP 0x10000; WS_EX_DLGMODALFRAME 0x1, WS_EX_STATICEDGE
  // 0x20000.
  const Control expected[] = {
      {0, 0x50020001u, 23, 19, 135, 8, 0xFFFFFFFFu, 0x82, "Moviquel Player"},
      {0, 0x50020001u, 23, 49, 135, 8, 0xFFFFFFFFu, 0x82, "Copyright (C) 2026 Moviquel Co"},
      {0, 0x50020001u, 23, 34, 135, 8, 0xFFFFFFFFu, 0x82, "Version 0.90 beta"},
      {0x1u, 0x50000007u, 7, 5, 167, 84, 0xFFFFFFFFu, 0x80, "About"},
      {0x20000u, 0x50010001u, 52, 66, 78, 14, 1004, 0x80, "www.mql.example"}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Control& c = expected[i];
    in.align(4);
    EXPECT_EQ(in.dword(), 0u) << "help id of control " << i + 1;
    EXPECT_EQ(in.dword(), c.ex_style) << "extended style of control " << i + 1;
    EXPECT_EQ(in.dword(), c.style) << "style of control " << i + 1;
    EXPECT_EQ(in.word(), c.x) << "x of control " << i + 1;
    EXPECT_EQ(in.word(), c.y) << "y of control " << i + 1;
    EXPECT_EQ(in.word(), c.cx) << "width of control " << i + 1;
    EXPECT_EQ(in.word(), c.cy) << "height of control " << i + 1;
    EXPECT_EQ(in.dword(), c.id) << "id of control " << i + 1;
    EXPECT_EQ(in.word(), 0xFFFF) << "class of control " << i + 1 << " is a predefined atom";
    EXPECT_EQ(in.word(), c.class_atom) << "class of control " << i + 1;
    EXPECT_EQ(in.text(), c.text) << "text of control " << i + 1;
    EXPECT_EQ(in.word(), 0) << "creation data of control " << i + 1;
  }
}

TEST(WindowsResources, IconIsOne32By32ImageWith256Colours) {
  const Bytes group = resource(kGroupIcon, 101);
  ASSERT_EQ(group.size(), 6u + 14u);  // header and one entry
  Reader in(group);
  EXPECT_EQ(in.word(), 0);  // reserved
  EXPECT_EQ(in.word(), 1);  // icon
  EXPECT_EQ(in.word(), 1);  // one image
  EXPECT_EQ(in.byte(), 32);
  EXPECT_EQ(in.byte(), 32);
  EXPECT_EQ(in.byte(), 0);  // 0 colours in the count field means 256
  in.byte();
  in.word();                // planes
  EXPECT_EQ(in.word(), 8);  // bits per pixel
  in.dword();               // bytes
  const std::uint16_t image_id = in.word();
  const Bytes image = resource(kIcon, image_id);
  ASSERT_GE(image.size(), 40u + 256u * 4u + 32u * 32u);
  Reader header(image);
  EXPECT_EQ(header.dword(), 40u);  // BITMAPINFOHEADER
  EXPECT_EQ(header.dword(), 32u);
  EXPECT_EQ(header.dword(), 64u);  // colour and mask rows
  EXPECT_EQ(header.word(), 1);
  EXPECT_EQ(header.word(), 8);
}

// Walks one VS_VERSIONINFO node: length, value length, type, key, aligned value.
struct VersionNode {
  std::size_t start;
  std::size_t end;
  std::uint16_t value_length;
  std::string key;
  std::size_t value;
};

VersionNode read_node(const Bytes& bytes, std::size_t at) {
  Reader in(bytes, at);
  VersionNode node{};
  node.start = at;
  node.end = at + in.word();
  node.value_length = in.word();
  in.word();  // type: 0 binary, 1 text
  node.key = in.text();
  in.align(4);
  node.value = in.position();
  return node;
}

std::string string_value(const Bytes& bytes, const VersionNode& node) {
  Reader in(bytes, node.value);
  return in.text();
}

TEST(WindowsResources, VersionBlockNamesMoviquel1001ForWindows32InRussianUnicode) {
  const Bytes version = resource(kVersion, 1);
  ASSERT_FALSE(version.empty());
  const VersionNode root = read_node(version, 0);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value_length, 52);
  Reader fixed(version, root.value);
  EXPECT_EQ(fixed.dword(), 0xFEEF04BDu);  // signature
  fixed.dword();                          // structure version
  EXPECT_EQ(fixed.dword(), 0x00010000u);  // file version 1.0
  EXPECT_EQ(fixed.dword(), 0x00000001u);  //              .0.1
  EXPECT_EQ(fixed.dword(), 0x00010000u);  // product version 1.0
  EXPECT_EQ(fixed.dword(), 0x00000001u);  //                 .0.1
  fixed.dword();                          // flags mask
  fixed.dword();                          // flags
  EXPECT_EQ(fixed.dword(), 0x00000004u);  // VOS__WINDOWS32
  EXPECT_EQ(fixed.dword(), 0x00000001u);  // VFT_APP

  std::map<std::string, std::string> strings;
  std::string table_key;
  std::uint32_t translation = 0;
  std::size_t at = (root.value + root.value_length + 3) & ~std::size_t{3};
  while (at < root.end) {
    const VersionNode block = read_node(version, at);
    std::size_t inner = block.value;
    while (inner < block.end) {
      const VersionNode child = read_node(version, inner);
      if (block.key == "StringFileInfo") {
        table_key = child.key;
        std::size_t entry = child.value;
        while (entry < child.end) {
          const VersionNode value = read_node(version, entry);
          strings[value.key] = string_value(version, value);
          entry = (value.end + 3) & ~std::size_t{3};
        }
      } else if (block.key == "VarFileInfo" && child.key == "Translation") {
        Reader pair(version, child.value);
        translation = pair.dword();
      }
      inner = (child.end + 3) & ~std::size_t{3};
    }
    at = (block.end + 3) & ~std::size_t{3};
  }
  EXPECT_EQ(table_key, "041904B0");
  EXPECT_EQ(translation, 0x04B00419u);  // language 0x0419, code page 1200
  EXPECT_EQ(strings["FileVersion"], "1, 0, 0, 1");
  EXPECT_EQ(strings["ProductVersion"], "1, 0, 0, 1");
  EXPECT_EQ(strings["FileDescription"], "Moviquel");
  EXPECT_EQ(strings["ProductName"], "Moviquel");
  EXPECT_EQ(strings["CompanyName"], "Moviquel Co");
  EXPECT_EQ(strings["LegalCopyright"], "Copyright (C) 2026 Moviquel Co");
  EXPECT_EQ(strings["InternalName"], "moviquel.exe");
  EXPECT_EQ(strings["OriginalFilename"], "moviquel.exe");
}

TEST(WindowsResources, BothPicturesAreJpgDataResourcesThatAreNotPlainJpeg) {
  for (const std::uint16_t id : {std::uint16_t{112}, std::uint16_t{115}}) {
    const auto picture = exe().find(0, "JPGDATA", id);
    ASSERT_TRUE(picture.has_value()) << "no JPGDATA " << id;
    EXPECT_GT(picture->size(), 1000u) << "JPGDATA " << id;
    // Scrambled: the stream does not start with the JPEG start-of-image marker.
    EXPECT_FALSE((*picture)[0] == 0xFF && (*picture)[1] == 0xD8) << "JPGDATA " << id;
  }
}

}  // namespace
