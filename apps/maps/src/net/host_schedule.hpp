#pragma once
// When each request to a host may go out. The public geocoder takes at most one request per
// second, so its requests ("spaced" ones) queue per host and leave at least `spacing` apart; a
// newer request of the same kind replaces an older one that has not left yet. A 429 reply's
// Retry-After holds back every request to that host. Pure bookkeeping: the caller passes the
// time in, which lets tests run it on a fake clock (net/host_limiter.hpp does the waiting).

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace maps {

inline constexpr std::chrono::milliseconds kGeocoderSpacing{1000};
// A host that asks for a longer pause than this fails requests at once instead of keeping them
// (and the "…" of the status) waiting.
inline constexpr std::chrono::milliseconds kLongestHostWait{20000};
// Retry-After values past this are read as this: a service that asks for an hour or a day would
// otherwise be given up for that long on the strength of one reply.
inline constexpr std::chrono::milliseconds kLongestHold{600000};

class HostSchedule {
 public:
  using Clock = std::chrono::steady_clock;
  using TimePoint = Clock::time_point;
  using Ticket = std::uint64_t;

  struct Request {
    std::string host;
    bool spaced = false;
    // Among spaced requests to one host, a newer one with the same key replaces a waiting one.
    std::optional<int> replace_key;
    // What the user knows the host as, for the text of a refusal ("search service").
    std::string service = "service";
  };
  struct Submitted {
    Ticket ticket = 0;
    std::optional<Ticket> replaced;
  };

  enum class Turn { Send, Wait, Replaced, Refused };
  struct Decision {
    Turn turn = Turn::Wait;
    // Turn::Wait: ask again at this time, or when something else changes (TimePoint::max()).
    TimePoint until = TimePoint::max();
    // Turn::Refused: how long the host still wants to be left alone.
    std::chrono::milliseconds hold_left{0};
  };

  explicit HostSchedule(std::chrono::milliseconds spacing = kGeocoderSpacing,
                        std::chrono::milliseconds longest_wait = kLongestHostWait);

  Submitted submit(Request request, TimePoint now);
  // Whether the ticket may be sent now. Send records the send and forgets the ticket, as do
  // Replaced and Refused; asking again about a forgotten ticket answers Refused.
  Decision poll(Ticket ticket, TimePoint now);
  // Withdraws a waiting ticket (its request will not be sent).
  void withdraw(Ticket ticket);
  // No request to `host` before `now + pause` (an earlier hold that lasts longer stays).
  void hold(std::string_view host, std::chrono::milliseconds pause, TimePoint now);

  std::size_t waiting() const;

 private:
  struct Waiting {
    Ticket ticket;
    bool spaced;
    std::optional<int> key;
  };
  struct Host {
    std::deque<Waiting> queue;  // in arrival order; a replacement takes the replaced one's place
    std::optional<TimePoint> last_spaced_send;
    TimePoint hold_until{};
  };

  Host* host_of(Ticket ticket, std::deque<Waiting>::iterator* where);

  std::chrono::milliseconds spacing_;
  std::chrono::milliseconds longest_wait_;
  Ticket next_ticket_ = 1;
  std::map<std::string, Host, std::less<>> hosts_;
  std::map<Ticket, std::string> ticket_host_;
  std::set<Ticket> replaced_;
};

// "host:port" of a URL (lower-cased, no scheme, user or path): the key requests are paced by.
std::string host_key(std::string_view url);

}  // namespace maps
