#pragma once
// A strict pull reader over one JSON text. It never throws and never recurses: callers walk
// the structure they expect, and values nobody asked for are skipped with a stack of their own.
// The first failure is kept; every operation returns false once it is set.

#include <cstdint>
#include <string>
#include <string_view>

namespace maps::json {

// A number as read: integers without fraction or exponent keep their integer kind, as long as
// they fit (negative ones in 64 signed bits); everything else is a double.
struct Number {
  enum class Kind : std::uint8_t { Unsigned, Signed, Float };
  Kind kind = Kind::Unsigned;
  std::uint64_t u = 0;
  std::int64_t i = 0;
  double f = 0.0;
  double as_double() const;
};

enum class Step : std::uint8_t { Next, End, Error };

class Reader {
 public:
  explicit Reader(std::string_view input) : in_(input) {}

  // Skips white space and returns the next byte, or '\0' at the end of the input.
  char peek();
  bool at_end() const { return pos_ >= in_.size(); }
  void bump() { ++pos_; }

  bool fail(std::string message);
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

  // Scalars; each expects the cursor on the value's first byte.
  bool parse_string(std::string* out);  // nullptr: check and discard
  bool parse_number(Number& out, bool check_only = false);
  bool parse_null();
  bool parse_bool(bool& out);

  // Objects, after the '{' was taken: the next key (Next), the closing '}' taken (End), or a failure.
  Step object_first(std::string& key);
  Step object_next(std::string& key);
  bool colon();
  // Arrays, after the '[' was taken: Next when an element follows, End (not taken) before ']'.
  Step array_has_next(bool& first);
  // The closing ']' of an array read element by element; anything else is an error.
  bool array_end();

  // Checks and discards one value of any nesting.
  bool skip_value();
  // Fails with "invalid type: <what is at the cursor>, expected <expected>".
  bool invalid_type(std::string_view expected);
  // Only white space may remain.
  bool finish();

  // A scratch buffer for keys and variant names: valid until the next read.
  std::string& scratch() { return scratch_; }

 private:
  bool parse_literal(std::string_view word);
  bool parse_hex4(unsigned& out);
  bool eof_value() { return fail("EOF while parsing a value"); }

  std::string_view in_;
  std::size_t pos_ = 0;
  bool failed_ = false;
  std::string error_;
  std::string scratch_;
};

}  // namespace maps::json
