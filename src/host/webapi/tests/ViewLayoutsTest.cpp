#include "host/webapi/EntitySets.h"
#include "host/webapi/ViewLayouts.h"

#include "standin/catalog/ViewCatalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace host::webapi {
namespace {

const char* const kTypes[] = {"Text", "Int16", "Int32", "Decimal", "Date", "Boolean"};
const char* const kChecks[] = {"",
                               "UpperCode",
                               "ItemNumber",
                               "TaxGroup",
                               "TaxAuthority",
                               "TaxClassOfGroup",
                               "TaxClassOfAuthority",
                               "TaxIncluded",
                               "Currency"};

std::string FieldLine(int number, const std::string& name, const std::string& description, int type,
                      int size, int check, const std::string& ref, int ttype, int axis, int slot) {
  std::string line = std::to_string(number) + "\t" + name + "\t" + description + "\t" +
                     kTypes[type] + "\t" + std::to_string(size);
  if (check != 0) line += std::string("\t") + kChecks[check];
  if (!ref.empty()) line += "\tref=" + ref;
  if (ttype != 0) line += "\ttype=" + std::to_string(ttype);
  if (axis != 0) line += "\taxis=" + std::to_string(axis);
  if (slot != 0) line += "\tslot=" + std::to_string(slot);
  return line + "\n";
}

std::string KeyLine(const std::string& name, const std::vector<std::string>& fields) {
  std::string line = "key\t" + name + "\t";
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? " " : "") + fields[i];
  return line + "\n";
}

/// The stand-in's view in the layouts' text form: what the program must ship for it.
std::string FromCatalog(const erp::ViewDef& view) {
  std::string text = view.id + "\t" + view.description + "\n";
  for (const erp::KeyDef& key : view.keys) {
    std::vector<std::string> names;
    for (int number : key.fields) names.push_back(view.field(number)->name);
    text += KeyLine(key.name, names);
  }
  for (const erp::FieldDef& field : view.fields) {
    const std::string ref = field.ref ? view.field(field.ref)->name : "";
    text += FieldLine(field.number, field.name, field.description, static_cast<int>(field.type),
                      field.size, static_cast<int>(field.check), ref, field.ttype, field.axis,
                      field.slot);
  }
  return text;
}

/// The shipped layout, read back into the same form.
std::string FromLayout(const ViewLayout& view) {
  std::string text = view.id + "\t" + view.description + "\n";
  for (const Key& key : view.keys) {
    std::vector<std::string> names;
    for (int number : key.fields) names.push_back(view.Field(number)->info.name);
    text += KeyLine(key.name, names);
  }
  for (const FieldLayout& field : view.fields) {
    const std::string ref = field.ref ? view.Field(field.ref)->info.name : "";
    text += FieldLine(field.info.index, field.info.name, field.info.description,
                      static_cast<int>(field.info.type), field.info.size,
                      static_cast<int>(field.check), ref, field.type, field.axis, field.slot);
  }
  return text;
}

std::vector<std::string> ViewsWithEntitySets() {
  std::vector<std::string> views;
  for (const EntitySetEntry& entry : EntitySets()) {
    views.push_back(entry.view);
    for (const DetailSet& detail : entry.details) views.push_back(detail.view);
  }
  return views;
}

// The program's layouts are the ERP's views as the stand-in models them: every field, type,
// size and check of every view with an entity set. When the catalog changes, the whole file the
// program should ship is written next to the test's temporary files.
TEST(ViewLayoutsTest, ShippedLayoutsAreTheViewsOfTheStandin) {
  std::string expected =
      "# The ERP's views that the program reads through the Web API: fields, "
      "keys and the checks of a put with verification.\n";
  bool same = true;
  for (const std::string& id : ViewsWithEntitySets()) {
    const std::string wanted = FromCatalog(erp::ViewCatalog::standard().get(id));
    expected += "\n" + wanted;
    const ViewLayout* shipped = FindViewLayout(id);
    const std::string got = shipped ? FromLayout(*shipped) : "no layout of " + id;
    EXPECT_EQ(wanted, got);
    same = same && wanted == got;
  }
  if (!same) {
    const auto file = std::filesystem::temp_directory_path() / "ViewLayouts.txt";
    std::ofstream(file) << expected;
    ADD_FAILURE() << "The layouts to ship are in " << file;
  }
}

TEST(ViewLayoutsTest, FaultsNameTheirLine) {
  auto fault = [](const std::string& text) {
    try {
      ParseViewLayouts(text);
    } catch (const std::invalid_argument& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ("View layouts, line 1: a field or key before the first view.",
            fault("1\tA\tA\tText\t1"));
  EXPECT_EQ("View layouts, line 2: field 2 is out of order.", fault("V1\tV\n2\tA\tA\tText\t1"));
  EXPECT_EQ("View layouts, line 2: unknown field type Long.", fault("V1\tV\n1\tA\tA\tLong\t1"));
  EXPECT_EQ("View layouts, line 4: view V1 has no field B.",
            fault("V1\tV\nkey\tK\tB\n1\tA\tA\tText\t1\nV2\tW"));
}

}  // namespace
}  // namespace host::webapi
