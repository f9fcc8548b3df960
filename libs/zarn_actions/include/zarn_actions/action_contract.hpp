#pragma once
// An action offered on a resource: what it is called, what it takes, and how invoking it
// turns into an encoded action for the executor.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_actions/action.hpp"
#include "zarn_actions/args.hpp"

namespace zarn_actions::resource {

// The kind of an action spec: how a front end should treat invoking it.
enum class ActionKind : std::uint8_t {
  Command,    // changes persisted data through the executor
  Device,     // asks the system; may complete later
  Interface,  // drives the application's own interface
};

enum class ParamKind : std::uint8_t { Text, Integer, Number, Boolean };

struct ActionParam {
  std::string name;
  ParamKind kind = ParamKind::Text;
  std::string placeholder;
  std::string example;
  bool required = false;

  bool operator==(const ActionParam&) const = default;
};

enum class Effect : std::uint8_t { Reversible, Destructive };
enum class Confirmation : std::uint8_t { NotNeeded, Required };

// What an action promises: where it acts, what encoded type it yields, and how careful a
// front end should be before invoking it.
struct ActionContract {
  std::vector<std::string> scopes;
  std::optional<std::string> input_type;
  Effect effect = Effect::Reversible;
  Confirmation confirmation = Confirmation::NotNeeded;

  bool operator==(const ActionContract&) const = default;
};

// Whether the action can be invoked now; a refusal carries the error to answer with.
struct Availability {
  std::optional<action::ActionError> refusal;

  static Availability available() { return {}; }
  static Availability refused(std::string code, std::string message);
  bool is_available() const { return !refusal.has_value(); }

  bool operator==(const Availability&) const = default;
};

using EncodeResult = action::ActionResult<action::EncodedAction>;
using Encoder = std::function<EncodeResult(const ActionArgs& args)>;

struct ActionSpec {
  std::string id;
  std::string label;
  ActionKind kind = ActionKind::Command;
  Encoder encoder;
  std::vector<ActionParam> params;
  std::optional<ActionContract> contract;
  Availability availability;

  ActionSpec(std::string id, std::string label, ActionKind kind, Encoder encoder);

  // A spec whose encoder answers a copy of `encoded` on every invocation.
  static ActionSpec returning(std::string id, std::string label, ActionKind kind, action::EncodedAction encoded);

  ActionSpec& with_param(ActionParam param) &;
  ActionSpec&& with_param(ActionParam param) &&;
  ActionSpec& with_contract(ActionContract contract) &;
  ActionSpec&& with_contract(ActionContract contract) &&;
  ActionSpec& with_availability(Availability availability) &;
  ActionSpec&& with_availability(Availability availability) &&;

  // Refused while unavailable; otherwise the encoder's result, held to the contract's input
  // type. An encoder that throws or is missing gives an error, never an exception.
  EncodeResult invoke(const ActionArgs& args) const;
};

// Holds an encoding result to an operation type: an error passes through, an encoded action
// of another type is refused. An empty operation type accepts every type.
EncodeResult enforce_operation_type(std::string_view operation_type, EncodeResult encoded);

// The same against a spec: its contract's input type, when it has one, is the operation type.
action::ActionStatus enforce_operation_type(const ActionSpec& spec, const action::EncodedAction& encoded);

}  // namespace zarn_actions::resource
