#include "net/host_schedule.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

namespace maps {

HostSchedule::HostSchedule(std::chrono::milliseconds spacing, std::chrono::milliseconds longest_wait)
    : spacing_(spacing), longest_wait_(longest_wait) {}

HostSchedule::Submitted HostSchedule::submit(Request request, TimePoint) {
  Submitted out;
  out.ticket = next_ticket_++;
  Host& host = hosts_[request.host];
  ticket_host_.emplace(out.ticket, request.host);
  const Waiting entry{out.ticket, request.spaced, request.replace_key};
  if (request.spaced && request.replace_key) {
    const auto same = std::find_if(host.queue.begin(), host.queue.end(),
                                   [&](const Waiting& w) { return w.spaced && w.key == request.replace_key; });
    if (same != host.queue.end()) {
      out.replaced = same->ticket;
      ticket_host_.erase(same->ticket);
      replaced_.insert(same->ticket);
      *same = entry;
      return out;
    }
  }
  host.queue.push_back(entry);
  return out;
}

HostSchedule::Host* HostSchedule::host_of(Ticket ticket, std::deque<Waiting>::iterator* where) {
  const auto name = ticket_host_.find(ticket);
  if (name == ticket_host_.end()) return nullptr;
  const auto host = hosts_.find(name->second);
  if (host == hosts_.end()) return nullptr;
  auto& queue = host->second.queue;
  const auto it = std::find_if(queue.begin(), queue.end(), [&](const Waiting& w) { return w.ticket == ticket; });
  if (it == queue.end()) return nullptr;
  *where = it;
  return &host->second;
}

HostSchedule::Decision HostSchedule::poll(Ticket ticket, TimePoint now) {
  if (replaced_.erase(ticket) != 0) return {Turn::Replaced};
  std::deque<Waiting>::iterator it;
  Host* host = host_of(ticket, &it);
  if (host == nullptr) return {Turn::Refused};

  const auto forget = [&] {
    host->queue.erase(it);
    ticket_host_.erase(ticket);
  };
  if (host->hold_until > now) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(host->hold_until - now);
    if (left > longest_wait_) {
      forget();
      return {Turn::Refused, TimePoint::max(), left};
    }
    return {Turn::Wait, host->hold_until};
  }
  if (!it->spaced) {
    forget();
    return {Turn::Send};
  }
  const auto first_spaced =
      std::find_if(host->queue.begin(), host->queue.end(), [](const Waiting& w) { return w.spaced; });
  if (first_spaced != it) return {Turn::Wait};
  if (host->last_spaced_send && now < *host->last_spaced_send + spacing_) {
    return {Turn::Wait, *host->last_spaced_send + spacing_};
  }
  host->last_spaced_send = now;
  forget();
  return {Turn::Send};
}

void HostSchedule::withdraw(Ticket ticket) {
  if (replaced_.erase(ticket) != 0) return;
  std::deque<Waiting>::iterator it;
  if (Host* host = host_of(ticket, &it)) {
    host->queue.erase(it);
    ticket_host_.erase(ticket);
  }
}

void HostSchedule::hold(std::string_view host, std::chrono::milliseconds pause, TimePoint now) {
  if (pause <= std::chrono::milliseconds::zero()) return;
  pause = std::min(pause, kLongestHold);
  auto it = hosts_.find(host);
  if (it == hosts_.end()) it = hosts_.emplace(std::string(host), Host{}).first;
  it->second.hold_until = std::max(it->second.hold_until, now + pause);
}

std::size_t HostSchedule::waiting() const {
  std::size_t n = 0;
  for (const auto& [name, host] : hosts_) n += host.queue.size();
  return n;
}

std::string host_key(std::string_view url) {
  std::string_view scheme;
  if (const auto colon = url.find("://"); colon != std::string_view::npos) {
    scheme = url.substr(0, colon);
    url.remove_prefix(colon + 3);
  }
  url = url.substr(0, std::min(url.size(), url.find_first_of("/?#")));
  if (const auto at = url.rfind('@'); at != std::string_view::npos) url.remove_prefix(at + 1);
  std::string out;
  out.reserve(url.size() + 4);
  for (const char c : url) out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  // "host" and "host:443" are one host; an IPv6 literal ends in "]" when it has no port.
  const auto colon = out.rfind(':');
  const bool has_port = colon != std::string::npos && out.find(']', colon) == std::string::npos;
  if (!has_port && !out.empty()) {
    std::string lower_scheme;
    for (const char c : scheme) lower_scheme.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (lower_scheme == "https") out += ":443";
    if (lower_scheme == "http") out += ":80";
  }
  return out;
}

}  // namespace maps
