#pragma once
// A Session over the window's state for one change. It converts to the Session& the transitions
// take, and when it ends (at the end of the statement that made it, for `app.session()`) the
// views follow what the change asked of them, in the order it asked.

#include "transitions/session.hpp"

namespace maps {

class MapsApp;

class SessionScope {
 public:
  explicit SessionScope(MapsApp& app);
  ~SessionScope();
  SessionScope(const SessionScope&) = delete;
  SessionScope& operator=(const SessionScope&) = delete;

  operator Session&() { return session_; }
  Session& operator*() { return session_; }
  Session* operator->() { return &session_; }

 private:
  MapsApp& app_;
  ViewRequests requests_;
  Session session_;
};

}  // namespace maps
