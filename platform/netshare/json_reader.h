// A small JSON reader for the status report of the Samba server: objects keep their
// members in order, numbers and literals keep their source text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace netshare {

struct JsonMember;

struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  std::string text;  // String: the decoded UTF-8 text; Number, Boolean: the source text
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;

  // The member named key of an object, or nullptr (also for a value that is no object).
  const JsonValue* Member(std::string_view key) const;
  // The text of member key when it is a string or a number, else "".
  std::string MemberText(std::string_view key) const;
};

// One member of an object. A named type rather than a pair: a pair may not hold the
// incomplete JsonValue inside JsonValue's own definition (only a vector may).
struct JsonMember {
  std::string name;
  JsonValue value;
};

// The value the whole input holds (white space around it allowed), or nothing when the input
// is not valid JSON or nests deeper than 64 levels.
std::optional<JsonValue> ParseJson(std::string_view input);

}  // namespace netshare
