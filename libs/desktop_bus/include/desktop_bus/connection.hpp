#pragma once
// A private connection to a message bus, owned and closed by this handle. It never ends the
// process when the bus goes away (libdbus's default for bus connections), and it is read by
// its owner alone: nothing dispatches behind its back.

#include <dbus/dbus.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "desktop_bus/message.hpp"

namespace desktop_bus {

// A bus error as the bus names it, e.g. "org.freedesktop.DBus.Error.ServiceUnknown".
struct BusError {
  std::string name;
  std::string message;
  // "name: message", or the name alone when there is no message.
  std::string display() const;
};

// The error a reply of an unexpected shape stands for.
BusError malformed_reply(const std::string& what);

class Connection {
 public:
  // `address` empty: the user's session bus. Registers on the bus within `timeout_ms` (-1: the
  // library's default), so the connection has its unique name when this returns.
  static std::optional<Connection> open(const std::string& address, int timeout_ms, BusError& error);

  Connection(Connection&& other) noexcept : connection_(std::exchange(other.connection_, nullptr)) {}
  Connection& operator=(Connection&&) = delete;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  DBusConnection* get() const { return connection_; }
  std::string unique_name() const;
  bool connected() const { return dbus_connection_get_is_connected(connection_); }
  // The socket to poll for input; -1 when there is none.
  int fd() const;

  // Sends a call and waits at most `timeout_ms` (-1: the library's default) for its answer.
  // Messages that come meanwhile stay queued for `pop`. Null with `error` set on an error reply
  // or none.
  Message call(DBusMessage* message, int timeout_ms, BusError& error);
  // Sends without waiting; the serial lets the caller know the reply when it comes.
  bool send(DBusMessage* message, dbus_uint32_t* serial);
  bool add_match(const std::string& rule, BusError& error);

  // Reads what the socket holds, waiting at most `timeout_ms`; false once disconnected.
  bool read(int timeout_ms);
  // The next queued message, or null. Calls addressed to this connection, which serves nothing,
  // are answered with an error and skipped.
  Message pop();

 private:
  explicit Connection(DBusConnection* connection) : connection_(connection) {}
  DBusConnection* connection_;
};

// True when the message is the given signal; its sender is the caller's to check.
bool is_signal(DBusMessage* message, const char* interface, const char* member);

}  // namespace desktop_bus
