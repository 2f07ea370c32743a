#pragma once

#include "host/webapi/RecordValues.h"
#include "host/webapi/WebApiCompany.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace host::webapi {

/// What a detail row must be once a write is saved.
struct RowOutcome {
  size_t collection = 0;
  FieldValues key;
  bool exists = true;
  std::vector<std::pair<int, Variant>> fields;  ///< the row's fields the write sent
};

/// One record's changes as one PATCH, with what the record held when the run read it and what
/// it must hold once saved.
struct RecordWrite {
  const EntityMap* map = nullptr;
  FieldValues key;
  std::string recordText;  ///< "Customers 1200", for messages
  nlohmann::ordered_json body = nlohmann::ordered_json::object();
  RecordValues before;                          ///< the record as the run read it
  std::vector<std::pair<int, Variant>> fields;  ///< header fields sent
  std::vector<RowOutcome> rows;
};

/// The record's tax data as the server holds it now: its key, the fields a put verifies as tax
/// data, and its detail rows; nothing when the record does not exist.
std::optional<RecordValues> ReadTaxData(WebApiCompany& company, const EntityMap& map,
                                        const FieldValues& key);

/// Whether two states of a record hold the same tax data: the verified tax fields and every
/// detail row, whatever their order.
bool SameTaxData(const EntityMap& map, const RecordValues& a, const RecordValues& b);

/// Whether the record holds what the write sent.
bool HoldsWrite(const RecordWrite& write, const RecordValues& now);

/// Sends the write and confirms it by reading the record back. When the PATCH has no clear
/// answer the record tells whether it was saved; a record in neither its old nor its new state
/// was changed by someone else. Throws HostError with the reason when the record does not hold
/// what was sent.
void SaveRecord(WebApiCompany& company, const RecordWrite& write);

}  // namespace host::webapi
