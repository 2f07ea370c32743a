#include "standin/sample/SampleStory.h"

#include "standin/sample/RecordWriter.h"

#include <array>
#include <cstdint>
#include <string>

namespace erp {
namespace {

struct Authority {
  const char* code;
  const char* description;
  bool taxIncludedAllowed;
  bool reducedRate;  ///< offers class 3 for items (a reduced rate on some goods)
};

// GST never allows tax in the price; the provincial taxes and the HST do.
constexpr std::array<Authority, 4> kAuthorities{{
    {"GST", "Goods and Services Tax (federal)", false, false},
    {"ONPST", "Ontario Retail Sales Tax", true, true},
    {"HST", "Ontario Harmonized Sales Tax", true, true},
    {"QST", "Quebec Sales Tax", true, true},
}};

struct Group {
  const char* code;
  const char* description;
  std::array<const char*, 2> authorities;
};

constexpr std::array<Group, 4> kGroups{{
    {kBeforeGroup, "Ontario GST and PST (to 30 June 2010)", {"GST", "ONPST"}},
    {kAfterGroup, "Ontario HST 13% (from 1 July 2010)", {"HST", ""}},
    {kQuebecGroup, "Quebec GST and QST", {"GST", "QST"}},
    {kFederalGroup, "GST only (Alberta, territories)", {"GST", ""}},
}};

constexpr std::int64_t kLastMaintained = 20100615;

void writeAuthorities(CompanyDatabase& database) {
  RecordWriter authorities(database, "TX0002");
  RecordWriter classes(database, "TX0001");
  for (const Authority& authority : kAuthorities) {
    authorities.set(1, authority.code);
    authorities.set(2, authority.description);
    authorities.set(3, "CAD");
    authorities.set(7, std::int64_t{authority.taxIncludedAllowed ? 1 : 0});
    authorities.set("LIABILITY", std::string("2310-") + authority.code);
    authorities.set("LASTMAINT", kLastMaintained);
    authorities.write();

    for (std::int64_t type : {1, 2}) {
      for (std::int64_t axis : {1, 2}) {
        const std::string party = axis == 1 ? (type == 1 ? "customers" : "vendors") : "items";
        auto addClass = [&](std::int64_t number, const std::string& description, bool exempt) {
          classes.set(1, authority.code);
          classes.set(2, type);
          classes.set(3, axis);
          classes.set(4, number);
          classes.set(5, description);
          classes.set("EXEMPT", std::int64_t{exempt ? 1 : 0});
          classes.set("LASTMAINT", kLastMaintained);
          classes.write();
        };
        addClass(1, "Taxable " + party, false);
        addClass(2, "Exempt " + party, true);
        if (axis == 2 && authority.reducedRate) addClass(3, "Reduced rate items", false);
      }
    }
  }
}

void writeGroups(CompanyDatabase& database) {
  RecordWriter groups(database, "TX0003");
  for (const Group& group : kGroups) {
    for (std::int64_t type : {1, 2}) {
      groups.set(1, group.code);
      groups.set(2, type);
      groups.set(3, group.description);
      groups.set("SCURN", "CAD");
      for (size_t slot = 0; slot < group.authorities.size(); ++slot) {
        if (*group.authorities[slot] == '\0') continue;
        const std::string number = std::to_string(slot + 1);
        groups.set("AUTHORITY" + number, group.authorities[slot]);
        groups.set("TAXABLE" + number, std::int64_t{1});
      }
      groups.set("LASTMAINT", kLastMaintained);
      groups.write();
    }
  }
}

void writeCurrencies(CompanyDatabase& database) {
  struct Currency {
    const char* code;
    const char* name;
    const char* symbol;
  };
  RecordWriter currencies(database, "CS0003");
  for (const Currency& currency :
       {Currency{"CAD", "Canadian Dollar", "$"}, Currency{"EUR", "Euro", "EUR"},
        Currency{"USD", "US Dollar", "US$"}}) {
    currencies.set(1, currency.code);
    currencies.set(2, currency.name);
    currencies.set(3, currency.symbol);
    currencies.set(4, std::int64_t{2});
    currencies.set(6, ",");
    currencies.set(7, ".");
    currencies.write();
  }
}

void writeOptions(CompanyDatabase& database, bool multicurrency) {
  const std::int64_t flag = multicurrency ? 1 : 0;
  RecordWriter ar(database, "AR0001");
  ar.set(1, kLastMaintained);
  ar.set(2, "Morgan Ellis");
  ar.set(3, "(416) 555-0100");
  ar.set(5, flag);
  // Recurring charges by customer: decides whether the program shows the charge-customer range.
  ar.set(6, flag);
  ar.write();

  RecordWriter ic(database, "IC0380");
  ic.set(1, kLastMaintained);
  ic.set(2, "Morgan Ellis");
  ic.set(5, "CAD");
  // Multicurrency: decides whether the program shows the currency ranges.
  ic.set(25, flag);
  ic.write();
}

}  // namespace

void writeCompanyBasics(CompanyDatabase& database, bool multicurrency) {
  writeCurrencies(database);
  writeOptions(database, multicurrency);
}

void writeTaxServices(CompanyDatabase& database) {
  writeAuthorities(database);
  writeGroups(database);
}

}  // namespace erp
