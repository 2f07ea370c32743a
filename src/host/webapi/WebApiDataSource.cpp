#include "host/webapi/WebApiDataSource.h"

#include "host/HostError.h"
#include "host/webapi/FieldValues.h"
#include "host/webapi/TaxTables.h"
#include "host/webapi/WebApiFailure.h"

#include <algorithm>
#include <set>

namespace host::webapi {
namespace {

constexpr std::int32_t kRcNotFound = 1;
constexpr std::int32_t kRcDuplicate = 2;
constexpr std::int32_t kRcChanged = 3;
constexpr std::int32_t kRcRefused = 4;
constexpr int kPriorityError = 3;

const char* OperationName(int kind) {
  static const char* const kNames[] = {"Insert", "Update", "Delete"};
  return kNames[static_cast<size_t>(kind)];
}

}  // namespace

WebApiDataSource::WebApiDataSource(std::string viewId, const PropertyMaps& maps)
    : viewId_(std::move(viewId)), maps_(maps) {
  map_ = maps_.OfView(viewId_);
  if (!map_) owner_ = maps_.OfDetail(viewId_, rowsIndex_);
  layout_ = map_ ? map_->layout : owner_ ? owner_->details[rowsIndex_].layout : nullptr;
  if (!layout_) return;
  for (const FieldLayout& field : layout_->fields) {
    fields_.push_back(field.info);
    values_.push_back(BlankValue(field.info));
  }
  keys_ = layout_->keys;
  if (map_) {
    read_ = BlankRecord(*map_);
    rows_ = read_.rows;
    changes_.resize(rows_.size());
  }
}

WebApiDataSource::~WebApiDataSource() {
  for (WebApiDataSource* child : children_) child->parent_ = nullptr;
  if (parent_) std::erase(parent_->children_, this);
}

void WebApiDataSource::Raise(const std::string& message, std::optional<std::int32_t> code) const {
  if (code) lastReturnCode_ = *code;
  if (link_) link_->Company().Errors().Add(kPriorityError, message);
  throw HostError(kViewError, message, "ERP." + viewId_);
}

template <typename Action>
auto WebApiDataSource::Guarded(Action action) const -> decltype(action()) {
  try {
    return action();
  } catch (const WebApiFailure& failure) {
    Raise(failure.what());
  } catch (const std::invalid_argument& error) {
    Raise(error.what());
  }
}

WebApiLink& WebApiDataSource::Link() const {
  if (!open_ || !link_) throw HostError(kViewError, "View " + viewId_ + " is not open.");
  return *link_;
}

const EntityMap& WebApiDataSource::Map() const {
  WebApiLink& link = Link();
  const EntityMap* map = map_ ? map_ : owner_;
  if (!map) Raise("View " + viewId_ + " cannot be read through the Web API.");
  if (std::optional<std::string> problem = link.Company().ProblemOf(*map)) Raise(*problem);
  return *map;
}

void WebApiDataSource::RequireHeader() const {
  if (owner_) Raise("Rows of " + Description() + " are read through their header's records.");
  Map();
}

const FieldLayout& WebApiDataSource::Layout(int number) const {
  InfoOf(number);
  return layout_->fields[static_cast<size_t>(number - 1)];
}

void WebApiDataSource::SetDBLink(std::shared_ptr<DatabaseLink> link) {
  auto webApi = std::dynamic_pointer_cast<WebApiLink>(link);
  if (!webApi) throw HostError(kViewError, "Not a database link of the Web API.");
  link_ = std::move(webApi);
}

void WebApiDataSource::SetParent(host::DataSource* parent) {
  auto* webApi = dynamic_cast<WebApiDataSource*>(parent);
  if (parent && !webApi) throw HostError(kViewError, "Not a data source of the Web API.");
  // Only the header whose entity holds this view's rows is a parent; any other reads alone.
  if (!webApi || !owner_ || webApi->map_ != owner_) return;
  parent_ = webApi;
  parent_->children_.push_back(this);
}

void WebApiDataSource::SetOpen(bool open) {
  if (open && !link_) throw HostError(kViewError, "View " + viewId_ + " has no database link.");
  open_ = open;
  if (!open) {
    for (WebApiDataSource* child : children_) child->open_ = false;
  }
}

std::string WebApiDataSource::Description() const {
  return layout_ ? layout_->description : viewId_;
}

host::Session& WebApiDataSource::Session() const {
  if (!link_) throw HostError(kViewError, "View " + viewId_ + " has no database link.");
  return link_->Session();
}

const FieldInfo& WebApiDataSource::InfoOf(int number) const {
  if (number < 1 || number > static_cast<int>(fields_.size())) {
    throw HostError(kViewError,
                    "View " + viewId_ + " has no field number " + std::to_string(number) + ".");
  }
  return fields_[static_cast<size_t>(number - 1)];
}

int WebApiDataSource::NumberOf(const std::string& name) const {
  for (const FieldInfo& field : fields_) {
    if (field.name == name) return field.index;
  }
  throw HostError(kViewError, "View " + viewId_ + " has no field named " + name + ".");
}

Variant WebApiDataSource::ValueOf(int number) const {
  InfoOf(number);
  return values_[static_cast<size_t>(number - 1)];
}

Variant WebApiDataSource::LowestValueOf(int number) const {
  return LowestValue(InfoOf(number));
}

void WebApiDataSource::SetKeyNumber(int number) {
  if (number < 0 || number >= static_cast<int>(keys_.size())) {
    Raise("View " + viewId_ + " has no key number " + std::to_string(number) + ".");
  }
  keyNumber_ = number;
}

void WebApiDataSource::Put(int number, const Variant& value, bool verify) {
  const FieldLayout& field = Layout(number);
  Variant stored;
  if (verify) {
    try {
      stored = Verified(field, value, values_, Link().Company().Taxes());
    } catch (const VerifyRefusal& refusal) {
      Raise(refusal.what());
    } catch (const WebApiFailure& failure) {
      Raise(failure.what());
    }
  } else {
    std::optional<Variant> coerced = Coerced(field.info, value);
    if (!coerced)
      Raise("Invalid value for " + field.info.description + ": " + VariantText(value) + ".");
    stored = std::move(*coerced);
    if (auto* text = std::get_if<std::string>(&stored)) {
      if (static_cast<int>(text->size()) > field.info.size) {
        text->resize(static_cast<size_t>(field.info.size));
      }
    }
  }
  values_[static_cast<size_t>(number - 1)] = std::move(stored);
}

void WebApiDataSource::Verify(int number) {
  Put(number, values_[static_cast<size_t>(number - 1)], true);
}

ODataFilter WebApiDataSource::Translated(const std::string& filter) const {
  const EntityMap& map = Map();
  WebApiCompany& company = Link().Company();
  const FilterTarget target{*map.layout, map.properties, [&](const std::string& property) {
                              return company.Offers(map, property, nullptr);
                            }};
  try {
    return TranslateFilter(filter, target);
  } catch (const FilterRefusal& refusal) {
    Raise(std::string("Invalid filter. ") + refusal.what());
  }
}

std::optional<std::string> WebApiDataSource::ConversionProblem() const {
  if (!link_) return std::nullopt;
  const EntityMap* map = map_ ? map_ : owner_;
  if (!map) return "View " + viewId_ + " cannot be read through the Web API.";
  return link_->Company().ProblemOf(*map);
}

std::optional<FilterProblem> WebApiDataSource::CheckFilter(const std::string& filter) const {
  if (!map_) return FilterProblem{"View " + viewId_ + " cannot be read through the Web API.", 0};
  std::function<bool(const std::string&)> offered;
  if (link_) {
    offered = [this](const std::string& property) {
      return link_->Company().Offers(*map_, property, nullptr);
    };
  }
  try {
    TranslateFilter(filter, {*map_->layout, map_->properties, offered});
  } catch (const FilterRefusal& refusal) {
    return FilterProblem{refusal.what(), refusal.Position()};
  }
  return std::nullopt;
}

std::vector<WebApiDataSource::BrowseEntry> WebApiDataSource::Collect(
    const ODataFilter& filter) const {
  std::vector<BrowseEntry> entries;
  if (filter.selects == ODataFilter::Selects::None) return entries;
  const EntityMap& map = Map();
  const std::vector<int>& order = keys_.at(static_cast<size_t>(keyNumber_)).fields;
  const std::vector<int>& primary = keys_.front().fields;
  FeedQuery query;
  query.filter = filter.text;
  for (const std::vector<int>* fields : {&order, &primary}) {
    for (int field : *fields) {
      const std::string& property = map.Property(field);
      if (std::find(query.select.begin(), query.select.end(), property) == query.select.end()) {
        query.select.push_back(property);
      }
    }
  }
  std::set<std::string> seen;
  Guarded([&] {
    Link().Company().Client().Collect(map.module, map.entitySet, query, [&](const auto& json) {
      const RecordValues record = RecordOf(map, json);
      BrowseEntry entry{{}, KeyOf(*layout_, record.fields)};
      for (int field : order) entry.order.push_back(record.fields[static_cast<size_t>(field - 1)]);
      if (!seen.insert(KeyText(entry.key)).second) return false;
      entries.push_back(std::move(entry));
      return true;
    });
    return 0;
  });
  // The ERP browses in key order; a server promises none.
  std::sort(entries.begin(), entries.end(), [](const BrowseEntry& a, const BrowseEntry& b) {
    const int byOrder = CompareValues(a.order, b.order);
    return byOrder != 0 ? byOrder < 0 : CompareValues(a.key, b.key) < 0;
  });
  return entries;
}

std::int32_t WebApiDataSource::Count(const std::string& filter, int /*flags*/) {
  RequireHeader();
  // The browse that follows a count of the same filter takes the records the count found.
  counted_.reset();
  std::vector<BrowseEntry> entries = Collect(Translated(filter));
  const auto count = static_cast<std::int32_t>(entries.size());
  counted_.emplace(filter + '\x1f' + std::to_string(keyNumber_), std::move(entries));
  return count;
}

void WebApiDataSource::Browse(const std::string& filter, bool ascending) {
  RequireHeader();
  browseFilter_ = Translated(filter);
  const std::string counted = filter + '\x1f' + std::to_string(keyNumber_);
  if (counted_ && counted_->first == counted) {
    browse_ = std::move(counted_->second);
  } else {
    browse_ = Collect(browseFilter_);
  }
  counted_.reset();
  // The browse starts at the key values put, as the ERP's does.
  FieldValues start;
  for (int field : keys_.at(static_cast<size_t>(keyNumber_)).fields) {
    start.push_back(values_[static_cast<size_t>(field - 1)]);
  }
  std::erase_if(browse_, [&](const BrowseEntry& entry) {
    const int place = CompareValues(entry.order, start);
    return ascending ? place < 0 : place > 0;
  });
  if (!ascending) std::reverse(browse_.begin(), browse_.end());
  next_ = 0;
}

std::optional<RecordValues> WebApiDataSource::ReadRecord(const FieldValues& key,
                                                         const ODataFilter& filter) const {
  const EntityMap& map = Map();
  ODataClient& client = Link().Company().Client();
  return Guarded([&]() -> std::optional<RecordValues> {
    if (filter.selects == ODataFilter::Selects::Every) {
      try {
        return RecordOf(map, EntityOf(client.Get(map.module, RecordResource(map, key))));
      } catch (const WebApiFailure& failure) {
        if (failure.Status() == 404) return std::nullopt;
        throw;
      }
    }
    // The record counts only while it still matches the filter.
    FeedQuery query;
    query.filter = "(" + KeyCondition(map, key) + ") and " +
                   (filter.text.front() == '(' ? filter.text : "(" + filter.text + ")");
    const nlohmann::json feed = client.Get(map.module, map.entitySet, query);
    const nlohmann::json* records = FeedRecords(feed);
    if (!records || records->empty()) return std::nullopt;
    return RecordOf(map, records->front());
  });
}

bool WebApiDataSource::Fetch(bool /*lock*/) {
  RequireHeader();
  while (next_ < browse_.size()) {
    const FieldValues key = browse_[next_++].key;
    if (std::optional<RecordValues> record = ReadRecord(key, browseFilter_)) {
      Take(std::move(*record));
      return true;
    }
  }
  return false;
}

void WebApiDataSource::Take(RecordValues record) {
  values_ = record.fields;
  rows_ = record.rows;
  changes_.assign(rows_.size(), {});
  read_ = std::move(record);
  current_ = true;
}

void WebApiDataSource::ClearRecord() {
  for (size_t i = 0; i < fields_.size(); ++i) values_[i] = BlankValue(fields_[i]);
  current_ = false;
  if (map_) {
    for (auto& rows : rows_) rows.clear();
    for (auto& changes : changes_) changes.clear();
  } else if (parent_) {
    LinkToHeader();
  }
}

bool WebApiDataSource::Read() {
  if (!map_) {
    Map();
    LinkToHeader();
    if (!parent_) return false;
    const auto row = RowOf(Rows(), KeyOf(*layout_, values_));
    current_ = row != Rows().end();
    if (current_) values_ = readRow_ = *row;
    return current_;
  }
  std::optional<RecordValues> record = ReadRecord(KeyOf(*layout_, values_), {});
  current_ = false;
  if (!record) return false;
  Take(std::move(*record));
  return true;
}

bool WebApiDataSource::PendingChanges() const {
  const FieldValues& before = map_ ? read_.fields : readRow_;
  if (!current_ || before.size() != values_.size()) return false;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (!SameValue(values_[i], before[i])) return true;
  }
  return false;
}

bool WebApiDataSource::DetailChanges() const {
  if (map_) {
    return std::any_of(changes_.begin(), changes_.end(),
                       [](const auto& changes) { return !changes.empty(); });
  }
  return parent_ && !Changes().empty();
}

void WebApiDataSource::RequireWritable(const char* action) const {
  if (Link().ReadOnly()) {
    Raise(
        std::string("Cannot ") + action + " " + Description() + ": the database link is read-only.",
        kRcRefused);
  }
}

void WebApiDataSource::RequireCurrent(const char* action) const {
  if (!current_) {
    Raise(std::string("Cannot ") + action + " " + Description() + ": there is no current record.",
          kRcNotFound);
  }
}

void WebApiDataSource::Insert() {
  RequireWritable("add");
  if (map_)
    Raise("Records of " + Description() + " cannot be added through the Web API.", kRcRefused);
  InsertRow();
}

void WebApiDataSource::Delete() {
  RequireWritable("delete");
  RequireCurrent("delete");
  if (map_) {
    Raise("Records of " + Description() + " cannot be deleted through the Web API.", kRcRefused);
  }
  DeleteRow();
}

void WebApiDataSource::Update() {
  RequireWritable("update");
  RequireCurrent("update");
  if (!map_) return UpdateRow();
  const EntityMap& map = Map();
  const FieldValues key = KeyOf(*layout_, read_.fields);
  if (CompareValues(KeyOf(*layout_, values_), key) != 0) {
    Raise("The key of " + Description() + " " + KeyText(key) + " cannot be changed.", kRcRefused);
  }
  // The Web API has no concurrency token: the record's tax data are read again and must be as
  // this data source read them, or another user changed them in between.
  const std::optional<RecordValues> now =
      Guarded([&] { return ReadTaxData(Link().Company(), map, key); });
  if (!now || !SameTaxData(map, *now, read_)) {
    lastReturnCode_ = kRcChanged;
    Link().Company().Errors().Add(kPriorityError, Description() + " " + KeyText(key) +
                                                      " was changed by another user since it "
                                                      "was read. Nothing was saved.");
    return;
  }
  Link().Save(ChangesToSave());
  read_.fields = values_;
  read_.rows = rows_;
  for (auto& changes : changes_) changes.clear();
  lastReturnCode_ = 0;
}

RecordWrite WebApiDataSource::ChangesToSave() const {
  const EntityMap& map = *map_;
  RecordWrite write{&map,  KeyOf(*layout_, read_.fields),
                    {},    nlohmann::ordered_json::object(),
                    read_, {values_, rows_}};
  write.recordText = Description() + " " + KeyText(write.key);
  // The server runs the view's logic in payload order: a tax group before its classes.
  std::vector<int> changed;
  for (const FieldLayout& field : layout_->fields) {
    const auto i = static_cast<size_t>(field.info.index - 1);
    if (!SameValue(values_[i], read_.fields[i])) changed.push_back(field.info.index);
  }
  std::stable_partition(changed.begin(), changed.end(), [this](int field) {
    return layout_->fields[static_cast<size_t>(field - 1)].check == FieldCheck::TaxGroup;
  });
  for (int field : changed) {
    const auto i = static_cast<size_t>(field - 1);
    write.body[map.Property(field)] = ToJson(fields_[i], values_[i]);
  }
  for (size_t collection = 0; collection < map.details.size(); ++collection) {
    if (changes_[collection].empty()) continue;
    const RowsMap& rows = map.details[collection];
    const std::vector<int>& keyFields = rows.layout->keys.front().fields;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const RowChange& change : changes_[collection]) {
      nlohmann::ordered_json row = nlohmann::ordered_json::object();
      row["UpdateOperation"] = OperationName(static_cast<int>(change.kind));
      // A row names its key; an insert gives every field, an update those it changes.
      for (const FieldLayout& field : rows.layout->fields) {
        const auto i = static_cast<size_t>(field.info.index - 1);
        const bool key =
            std::find(keyFields.begin(), keyFields.end(), field.info.index) != keyFields.end();
        const bool sent = key || change.kind == RowChange::Kind::Insert ||
                          (change.kind == RowChange::Kind::Update &&
                           !SameValue(change.values[i], change.original[i]));
        if (sent) row[rows.properties[i]] = ToJson(field.info, change.values[i]);
      }
      list.push_back(std::move(row));
    }
    write.body[rows.collection] = std::move(list);
  }
  return write;
}

std::vector<FieldValues>& WebApiDataSource::Rows() const {
  return parent_->rows_.at(rowsIndex_);
}

std::vector<WebApiDataSource::RowChange>& WebApiDataSource::Changes() const {
  return parent_->changes_.at(rowsIndex_);
}

void WebApiDataSource::LinkToHeader() {
  if (!parent_) return;
  // A detail row belongs to its header's record: the header's key fields fill its own.
  for (int number : parent_->keys_.front().fields) {
    const FieldInfo& header = parent_->fields_[static_cast<size_t>(number - 1)];
    for (const FieldInfo& field : fields_) {
      if (field.name == header.name) {
        values_[static_cast<size_t>(field.index - 1)] =
            parent_->values_[static_cast<size_t>(number - 1)];
      }
    }
  }
}

std::vector<FieldValues>::iterator WebApiDataSource::RowOf(std::vector<FieldValues>& rows,
                                                           const FieldValues& key) const {
  return std::find_if(rows.begin(), rows.end(), [&](const FieldValues& row) {
    return CompareValues(KeyOf(*layout_, row), key) == 0;
  });
}

void WebApiDataSource::InsertRow() {
  Map();
  if (!parent_)
    Raise("Rows of " + Description() + " are added only with their header.", kRcRefused);
  LinkToHeader();
  for (int number : keys_.front().fields) {
    const FieldInfo& field = fields_[static_cast<size_t>(number - 1)];
    if (field.type == FieldType::Text &&
        VariantText(values_[static_cast<size_t>(number - 1)]).empty()) {
      Raise(field.description + " cannot be blank.", kRcRefused);
    }
  }
  const FieldValues key = KeyOf(*layout_, values_);
  if (RowOf(Rows(), key) != Rows().end()) {
    Raise(Description() + " " + KeyText(key) + " already exists.", kRcDuplicate);
  }
  Rows().push_back(values_);
  Changes().push_back({RowChange::Kind::Insert, values_, {}});
  readRow_ = values_;
  current_ = true;
  lastReturnCode_ = 0;
}

void WebApiDataSource::UpdateRow() {
  const FieldValues key = KeyOf(*layout_, readRow_);
  if (CompareValues(KeyOf(*layout_, values_), key) != 0) {
    Raise("The key of " + Description() + " " + KeyText(key) + " cannot be changed.", kRcRefused);
  }
  const auto row = RowOf(Rows(), key);
  if (row == Rows().end())
    Raise(Description() + " " + KeyText(key) + " does not exist.", kRcNotFound);
  *row = values_;
  Changes().push_back({RowChange::Kind::Update, values_, readRow_});
  readRow_ = values_;
  lastReturnCode_ = 0;
}

void WebApiDataSource::DeleteRow() {
  const FieldValues key = KeyOf(*layout_, readRow_);
  const auto row = RowOf(Rows(), key);
  if (row != Rows().end()) Rows().erase(row);
  Changes().push_back({RowChange::Kind::Delete, readRow_, readRow_});
  current_ = false;
  lastReturnCode_ = 0;
}

}  // namespace host::webapi
