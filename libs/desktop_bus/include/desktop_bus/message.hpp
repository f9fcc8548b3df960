#pragma once
// Owned D-Bus messages, and typed reading and writing of their arguments. Reading refuses any
// argument of another type than asked for, so a reply of an unexpected shape is an empty result,
// never a crash.

#include <dbus/dbus.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace desktop_bus {

struct MessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// Null when out of memory.
Message method_call(const char* destination, const char* path, const char* interface, const char* member);

// Appends arguments in order; false once memory ran out (the message must then not be sent).
class ArgWriter {
 public:
  // One value of an a{sv} dictionary.
  using Value = std::variant<std::string, std::uint32_t>;

  explicit ArgWriter(DBusMessage* message) { dbus_message_iter_init_append(message, &it_); }
  ArgWriter& string(const std::string& value);
  ArgWriter& object_path(const std::string& value);
  ArgWriter& vardict(const std::vector<std::pair<std::string, Value>>& entries);
  bool ok() const { return ok_; }

 private:
  DBusMessageIter it_;
  bool ok_ = true;
};

// Reads arguments in order. A getter that finds another type (or no argument) yields nothing
// and stays where it is.
class ArgReader {
 public:
  explicit ArgReader(DBusMessage* message) : valid_(dbus_message_iter_init(message, &it_)) {}

  int type() const {
    return valid_ ? dbus_message_iter_get_arg_type(const_cast<DBusMessageIter*>(&it_)) : DBUS_TYPE_INVALID;
  }
  std::optional<std::string> string() { return text(DBUS_TYPE_STRING); }
  std::optional<std::string> object_path() { return text(DBUS_TYPE_OBJECT_PATH); }
  std::optional<std::uint32_t> u32();
  std::optional<double> f64();
  // A reader of the variant's content.
  std::optional<ArgReader> variant();
  // An a{sv}: a reader of each value's content. The first of repeated keys holds.
  std::optional<std::map<std::string, ArgReader>> vardict();

 private:
  ArgReader(const DBusMessageIter& it, bool valid) : it_(it), valid_(valid) {}
  std::optional<std::string> text(int type);
  void advance();

  DBusMessageIter it_;
  bool valid_;
};

}  // namespace desktop_bus
