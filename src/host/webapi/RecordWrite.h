#pragma once

#include "host/webapi/RecordValues.h"
#include "host/webapi/WebApiCompany.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace host::webapi {

/// One record's changes as one PATCH, with what the record held when the run read it and what
/// it must hold once saved.
struct RecordWrite {
  const EntityMap* map = nullptr;
  FieldValues key;
  std::string recordText;  ///< "Customers 1200", for messages
  nlohmann::ordered_json body = nlohmann::ordered_json::object();
  RecordValues before;  ///< the record as the run read it
  RecordValues after;   ///< the record as it must be once saved
};

/// The record's tax data as the server holds it now: its key, the fields a put verifies as tax
/// data, and its detail rows; nothing when the record does not exist.
std::optional<RecordValues> ReadTaxData(WebApiCompany& company, const EntityMap& map,
                                        const FieldValues& key);

/// Whether two states of a record hold the same tax data: the verified tax fields and every
/// detail row, whatever their order.
bool SameTaxData(const EntityMap& map, const RecordValues& a, const RecordValues& b);

/// Sends the write and confirms it by reading the record's tax data back: they must be exactly
/// those the run meant to save, not only the properties sent. When the PATCH has no clear answer
/// the record tells whether it was saved; a record in neither its old nor its new state was
/// changed by someone else. Throws HostError with the reason when the record is not as meant.
void SaveRecord(WebApiCompany& company, const RecordWrite& write);

}  // namespace host::webapi
