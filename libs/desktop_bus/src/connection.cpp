#include "desktop_bus/connection.hpp"

#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace desktop_bus {
namespace {

// A DBusError that frees itself.
struct ScopedError {
  ScopedError() { dbus_error_init(&error); }
  ~ScopedError() { dbus_error_free(&error); }
  ScopedError(const ScopedError&) = delete;
  ScopedError& operator=(const ScopedError&) = delete;
  bool set() const { return dbus_error_is_set(&error); }
  BusError take() const {
    return BusError{error.name ? error.name : DBUS_ERROR_FAILED, error.message ? error.message : ""};
  }
  DBusError error;
};

BusError no_memory() { return BusError{DBUS_ERROR_NO_MEMORY, "out of memory"}; }

// libdbus is shared with the window library in this process: its locks must exist before
// either makes a connection.
void init_threads() {
  static std::once_flag once;
  std::call_once(once, [] { dbus_threads_init_default(); });
}

// The session bus as its clients find it: the address the session exports, else the socket in
// the user's runtime folder. Never a bus launched on demand, which would hold up the caller.
std::optional<std::string> session_bus_address() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    const std::string path = std::string(runtime) + "/bus";
    if (::access(path.c_str(), F_OK) == 0) {
      char* escaped = dbus_address_escape_value(path.c_str());
      if (!escaped) return std::nullopt;
      std::string result = std::string("unix:path=") + escaped;
      dbus_free(escaped);
      return result;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string BusError::display() const { return message.empty() ? name : name + ": " + message; }

BusError malformed_reply(const std::string& what) {
  return BusError{DBUS_ERROR_INVALID_SIGNATURE, what + " has an unexpected shape"};
}

std::optional<Connection> Connection::open(const std::string& address, int timeout_ms, BusError& error) {
  init_threads();
  std::string where = address;
  if (where.empty()) {
    auto session = session_bus_address();
    if (!session) {
      error = BusError{DBUS_ERROR_NO_SERVER, "no session bus address"};
      return std::nullopt;
    }
    where = *session;
  }
  ScopedError e;
  DBusConnection* c = dbus_connection_open_private(where.c_str(), &e.error);
  if (!c) {
    error = e.set() ? e.take() : no_memory();
    return std::nullopt;
  }
  // From here the handle closes and releases it on every path.
  Connection owned(c);
  dbus_connection_set_exit_on_disconnect(c, FALSE);
  // Hello by hand rather than through dbus_bus_register, which waits without a limit of ours.
  Message hello = method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "Hello");
  if (!hello) {
    error = no_memory();
    return std::nullopt;
  }
  Message reply = owned.call(hello.get(), timeout_ms, error);
  if (!reply) return std::nullopt;
  auto name = ArgReader(reply.get()).string();
  if (!name) {
    error = malformed_reply("the bus's Hello reply");
    return std::nullopt;
  }
  if (!dbus_bus_set_unique_name(c, name->c_str())) {
    error = no_memory();
    return std::nullopt;
  }
  return owned;
}

Connection::~Connection() {
  if (!connection_) return;
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
}

std::string Connection::unique_name() const {
  const char* name = dbus_bus_get_unique_name(connection_);
  return name ? name : "";
}

int Connection::fd() const {
  int fd = -1;
  if (!dbus_connection_get_socket(connection_, &fd)) return -1;
  return fd;
}

Message Connection::call(DBusMessage* message, int timeout_ms, BusError& error) {
  ScopedError e;
  DBusMessage* reply = dbus_connection_send_with_reply_and_block(connection_, message, timeout_ms, &e.error);
  if (!reply) error = e.set() ? e.take() : no_memory();
  return Message(reply);
}

bool Connection::send(DBusMessage* message, dbus_uint32_t* serial) {
  if (!dbus_connection_send(connection_, message, serial)) return false;
  dbus_connection_flush(connection_);
  return true;
}

bool Connection::add_match(const std::string& rule, BusError& error) {
  ScopedError e;
  dbus_bus_add_match(connection_, rule.c_str(), &e.error);
  if (!e.set()) return true;
  error = e.take();
  return false;
}

bool Connection::read(int timeout_ms) { return dbus_connection_read_write(connection_, timeout_ms); }

Message Connection::pop() {
  while (DBusMessage* raw = dbus_connection_pop_message(connection_)) {
    Message message(raw);
    if (dbus_message_get_type(raw) != DBUS_MESSAGE_TYPE_METHOD_CALL) return message;
    if (dbus_message_get_no_reply(raw)) continue;
    Message refusal(dbus_message_new_error(raw, DBUS_ERROR_UNKNOWN_METHOD, "this connection serves no methods"));
    if (refusal) send(refusal.get(), nullptr);
  }
  return nullptr;
}

bool is_signal(DBusMessage* message, const char* interface, const char* member) {
  return dbus_message_is_signal(message, interface, member);
}

}  // namespace desktop_bus
