#include "standin/runtime/Installation.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace erp {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLibraries[] = {"a4wapi.dll", "DsktpEng.dll"};

void putDword(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putWide(std::vector<std::uint8_t>& bytes, const std::string& text) {
  for (char c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(0);
  }
  bytes.push_back(0);
  bytes.push_back(0);
}

// A program image in miniature: a DOS stub, then the version resource with its fixed file
// information block at an unaligned offset, as readers must find it by its signature.
std::vector<std::uint8_t> accpacImage(const std::array<std::uint16_t, 4>& version) {
  std::vector<std::uint8_t> bytes = {'M', 'Z', 0x90, 0};
  const std::string stub = "This program cannot be run in DOS mode.\r\r\n$";
  for (char c : stub) bytes.push_back(static_cast<std::uint8_t>(c));
  bytes.push_back(0);
  putWide(bytes, "VS_VERSION_INFO");
  if (bytes.size() % 2 == 0) bytes.push_back(0);
  putDword(bytes, 0xFEEF04BD);
  putDword(bytes, 0x00010000);
  const std::uint32_t high = (std::uint32_t{version[0]} << 16) | version[1];
  const std::uint32_t low = (std::uint32_t{version[2]} << 16) | version[3];
  for (int twice = 0; twice < 2; ++twice) {  // file version, then product version
    putDword(bytes, high);
    putDword(bytes, low);
  }
  putDword(bytes, 0x3F);        // flags mask
  putDword(bytes, 0);           // flags
  putDword(bytes, 0x00040004);  // NT, Win32
  putDword(bytes, 1);           // application
  putDword(bytes, 0);           // subtype
  putDword(bytes, 0);           // date, high
  putDword(bytes, 0);           // date, low
  putWide(bytes, "StringFileInfo");
  return bytes;
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("Cannot write " + file.string() + ".");
}

fs::path runningExecutableFolder() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

RegistryValue textValue(const std::string& text) {
  RegistryValue value{kRegString, {text.begin(), text.end()}};
  value.data.push_back(0);
  return value;
}

RegistryValue numberValue(std::int32_t number) {
  RegistryValue value{kRegDword, {}};
  putDword(value.data, static_cast<std::uint32_t>(number));
  return value;
}

void setValue(RegistryStore& registry, const std::string& name, const RegistryValue& value) {
  if (registry.setValue(kLocalMachine, kConfigurationKey, name, value) != RegistryStatus::kOk) {
    throw std::runtime_error("Cannot write the registry value " + name + " into " +
                             registry.file().string() + ".");
  }
}

}  // namespace

void installStandinRuntime(const fs::path& programsFolder, const fs::path& sharedData,
                           RegistryStore& registry, const RuntimeOptions& options) {
  const fs::path libraries =
      options.libraryFolder.empty() ? runningExecutableFolder() : options.libraryFolder;
  const fs::path runtime = programsFolder / "runtime";
  fs::create_directories(runtime);
  for (const char* library : kLibraries) {
    if (!fs::is_regular_file(libraries / library)) {
      throw std::runtime_error("The stand-in library " + (libraries / library).string() +
                               " is missing; build the a4wapi and DsktpEng targets.");
    }
    fs::copy_file(libraries / library, runtime / library, fs::copy_options::overwrite_existing);
  }

  const std::vector<std::uint8_t> image = accpacImage(options.accpacVersion);
  writeFile(runtime / "accpac.exe", std::string(image.begin(), image.end()));
  std::string ini = "[General]\r\n";
  if (!options.productUpdate.empty()) ini += "ProductUpdate=" + options.productUpdate + "\r\n";
  writeFile(runtime / "A4W.INI", ini);

  if (registry.createKey(kLocalMachine, kConfigurationKey) != RegistryStatus::kOk) {
    throw std::runtime_error("Cannot create the ERP's configuration key in " +
                             registry.file().string() + ".");
  }
  setValue(registry, "Programs", textValue(fs::absolute(programsFolder).string()));
  setValue(registry, "SharedData", textValue(fs::absolute(sharedData).string()));
  setValue(registry, "Edition", numberValue(options.edition));
}

}  // namespace erp
