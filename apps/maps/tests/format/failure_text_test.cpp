// The short texts a person reads when a service fails, by service and kind of failure.

#include "format/failure_text.hpp"

#include <gtest/gtest.h>

namespace maps {
namespace {

using K = base::ErrorKind;

TEST(FailureText, ByKindAndService) {
  struct Case {
    Service service;
    base::Error error;
    const char* text;
  };
  const Case cases[] = {
      {Service::Geocoder, base::err(K::Unreachable, "Failed to connect to nominatim port 443 after 3 ms"),
       "cannot reach the search service"},
      {Service::Places, base::err(K::ServiceError, "HTTP 503 Service Unavailable", 503),
       "the places service answered with an error (HTTP 503)"},
      {Service::Router, base::err(K::ServiceError, "HTTP 429 Too Many Requests", 429),
       "the routing service is busy, try again shortly"},
      {Service::Places, base::err(K::ServiceError, "runtime error: Query timed out in \"query\" at line 1"),
       "the places service reported an error"},
      {Service::Router, base::err(K::TimedOut, "timed out waiting for a reply (limit 12000 ms)"),
       "the routing service did not answer in time"},
      {Service::Planner,
       base::err(K::BadReply, "error decoding response body: parse error at line 1, column 1: last read: '<'"),
       "unexpected answer from the transit planner"},
      {Service::Router, base::err(K::NoResult, "NoRoute"), "no route between these points"},
      {Service::Tiles, base::err(K::Unreachable, "Couldn't connect to server"), "cannot reach the map tile server"},
      {Service::Geocoder, base::err("failed to build HTTP client"), "could not ask the search service"},
      {Service::Location, base::err(K::Unreachable, "location portal unavailable: org.freedesktop.DBus.Error"),
       "cannot reach the location service"},
      {Service::Location, base::err("failed to spawn location worker thread"), "could not ask the location service"},
      {Service::Location, base::err(K::ServiceError, "permission denied"), "permission denied"},
      {Service::Location, base::err(K::TimedOut, "timed out waiting for a location fix"), "no location fix in time"},
      {Service::Location, base::err(K::NoResult, "no location fix available"), "no location fix available"},
  };
  for (const Case& c : cases) EXPECT_EQ(failure_text(c.service, c.error), c.text) << c.error.message;
}

}  // namespace
}  // namespace maps
