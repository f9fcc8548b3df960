#include "desktop_bus/message.hpp"

namespace desktop_bus {

Message method_call(const char* destination, const char* path, const char* interface, const char* member) {
  return Message(dbus_message_new_method_call(destination, path, interface, member));
}

ArgWriter& ArgWriter::string(const std::string& value) {
  const char* p = value.c_str();
  ok_ = ok_ && dbus_message_iter_append_basic(&it_, DBUS_TYPE_STRING, &p);
  return *this;
}

ArgWriter& ArgWriter::object_path(const std::string& value) {
  const char* p = value.c_str();
  ok_ = ok_ && dbus_message_iter_append_basic(&it_, DBUS_TYPE_OBJECT_PATH, &p);
  return *this;
}

namespace {

bool append_value(DBusMessageIter* entry, const ArgWriter::Value& value) {
  DBusMessageIter variant;
  if (const auto* text = std::get_if<std::string>(&value)) {
    const char* p = text->c_str();
    if (!dbus_message_iter_open_container(entry, DBUS_TYPE_VARIANT, DBUS_TYPE_STRING_AS_STRING, &variant)) return false;
    if (!dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &p)) {
      dbus_message_iter_abandon_container(entry, &variant);
      return false;
    }
  } else {
    const dbus_uint32_t number = std::get<std::uint32_t>(value);
    if (!dbus_message_iter_open_container(entry, DBUS_TYPE_VARIANT, DBUS_TYPE_UINT32_AS_STRING, &variant)) return false;
    if (!dbus_message_iter_append_basic(&variant, DBUS_TYPE_UINT32, &number)) {
      dbus_message_iter_abandon_container(entry, &variant);
      return false;
    }
  }
  return dbus_message_iter_close_container(entry, &variant);
}

}  // namespace

ArgWriter& ArgWriter::vardict(const std::vector<std::pair<std::string, Value>>& entries) {
  if (!ok_) return *this;
  DBusMessageIter array;
  ok_ = dbus_message_iter_open_container(&it_, DBUS_TYPE_ARRAY, "{sv}", &array);
  if (!ok_) return *this;
  for (const auto& [key, value] : entries) {
    DBusMessageIter entry;
    const char* k = key.c_str();
    if (!dbus_message_iter_open_container(&array, DBUS_TYPE_DICT_ENTRY, nullptr, &entry)) {
      ok_ = false;
      break;
    }
    if (!dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &k) || !append_value(&entry, value)) {
      dbus_message_iter_abandon_container(&array, &entry);
      ok_ = false;
      break;
    }
    if (!dbus_message_iter_close_container(&array, &entry)) {
      ok_ = false;
      break;
    }
  }
  if (!ok_) {
    dbus_message_iter_abandon_container(&it_, &array);
    return *this;
  }
  ok_ = dbus_message_iter_close_container(&it_, &array);
  return *this;
}

void ArgReader::advance() { valid_ = dbus_message_iter_next(&it_); }

std::optional<std::string> ArgReader::text(int type) {
  if (this->type() != type) return std::nullopt;
  const char* value = nullptr;
  dbus_message_iter_get_basic(&it_, &value);
  advance();
  return std::string(value ? value : "");
}

std::optional<std::uint32_t> ArgReader::u32() {
  if (type() != DBUS_TYPE_UINT32) return std::nullopt;
  dbus_uint32_t value = 0;
  dbus_message_iter_get_basic(&it_, &value);
  advance();
  return value;
}

std::optional<double> ArgReader::f64() {
  if (type() != DBUS_TYPE_DOUBLE) return std::nullopt;
  double value = 0;
  dbus_message_iter_get_basic(&it_, &value);
  advance();
  return value;
}

std::optional<ArgReader> ArgReader::variant() {
  if (type() != DBUS_TYPE_VARIANT) return std::nullopt;
  DBusMessageIter content;
  dbus_message_iter_recurse(&it_, &content);
  advance();
  return ArgReader(content, true);
}

std::optional<std::map<std::string, ArgReader>> ArgReader::vardict() {
  if (type() != DBUS_TYPE_ARRAY || dbus_message_iter_get_element_type(&it_) != DBUS_TYPE_DICT_ENTRY) {
    return std::nullopt;
  }
  DBusMessageIter array;
  dbus_message_iter_recurse(&it_, &array);
  std::map<std::string, ArgReader> values;
  for (ArgReader entries(array, true); entries.type() == DBUS_TYPE_DICT_ENTRY; entries.advance()) {
    DBusMessageIter entry_it;
    dbus_message_iter_recurse(&entries.it_, &entry_it);
    ArgReader entry(entry_it, true);
    auto key = entry.string();
    auto value = entry.variant();
    if (!key || !value) return std::nullopt;
    values.emplace(std::move(*key), *value);
  }
  advance();
  return values;
}

}  // namespace desktop_bus
