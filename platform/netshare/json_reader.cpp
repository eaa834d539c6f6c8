#include "platform/netshare/json_reader.h"

#include <charconv>

#include "rtl/text.h"

namespace netshare {
namespace {

constexpr int kMaximumDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view input) : input_(input) {}

  std::optional<JsonValue> Document() {
    JsonValue value;
    if (!Value(value, 0)) return std::nullopt;
    SkipSpace();
    if (position_ != input_.size()) return std::nullopt;
    return value;
  }

 private:
  bool Value(JsonValue& value, int depth) {
    if (depth > kMaximumDepth) return false;
    SkipSpace();
    if (position_ >= input_.size()) return false;
    switch (input_[position_]) {
      case '{': return Object(value, depth);
      case '[': return Array(value, depth);
      case '"': value.kind = JsonValue::Kind::String; return String(value.text);
      case 't': return Literal("true", JsonValue::Kind::Boolean, value);
      case 'f': return Literal("false", JsonValue::Kind::Boolean, value);
      case 'n': return Literal("null", JsonValue::Kind::Null, value);
      default: return Number(value);
    }
  }

  bool Object(JsonValue& value, int depth) {
    value.kind = JsonValue::Kind::Object;
    ++position_;
    if (Take('}')) return true;
    do {
      SkipSpace();
      JsonMember member;
      if (!Peek('"') || !String(member.name) || !Take(':') || !Value(member.value, depth + 1)) return false;
      value.members.push_back(std::move(member));
    } while (Take(','));
    return Take('}');
  }

  bool Array(JsonValue& value, int depth) {
    value.kind = JsonValue::Kind::Array;
    ++position_;
    if (Take(']')) return true;
    do {
      JsonValue item;
      if (!Value(item, depth + 1)) return false;
      value.items.push_back(std::move(item));
    } while (Take(','));
    return Take(']');
  }

  bool String(std::string& out) {
    ++position_;  // the opening quote
    while (position_ < input_.size()) {
      const char c = input_[position_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
      } else if (!Escape(out)) {
        return false;
      }
    }
    return false;
  }

  bool Escape(std::string& out) {
    if (position_ >= input_.size()) return false;
    const char c = input_[position_++];
    switch (c) {
      case '"': case '\\': case '/': out += c; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': return UnicodeEscape(out);
      default: return false;
    }
  }

  // "\uXXXX", with a following "\uXXXX" for the low half of a surrogate pair.
  bool UnicodeEscape(std::string& out) {
    char32_t code_point = 0;
    if (!Hex4(code_point)) return false;
    if (code_point >= 0xD800 && code_point <= 0xDBFF) {
      char32_t low = 0;
      if (input_.substr(position_, 2) != "\\u") return false;
      position_ += 2;
      if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
      code_point = 0x10000 + ((code_point - 0xD800) << 10) + (low - 0xDC00);
    } else if (code_point >= 0xDC00 && code_point <= 0xDFFF) {
      return false;
    }
    rtl::AppendUtf8(out, code_point);
    return true;
  }

  bool Hex4(char32_t& code_point) {
    if (position_ + 4 > input_.size()) return false;
    unsigned value = 0;
    const char* first = input_.data() + position_;
    const auto [end, error] = std::from_chars(first, first + 4, value, 16);
    if (error != std::errc() || end != first + 4) return false;
    position_ += 4;
    code_point = value;
    return true;
  }

  bool Number(JsonValue& value) {
    const std::size_t start = position_;
    if (Peek('-')) ++position_;
    while (position_ < input_.size() && std::string_view("0123456789.eE+-").find(input_[position_]) != std::string_view::npos) {
      ++position_;
    }
    double check = 0;
    const auto [end, error] = std::from_chars(input_.data() + start, input_.data() + position_, check);
    if (position_ == start || error != std::errc() || end != input_.data() + position_) return false;
    value.kind = JsonValue::Kind::Number;
    value.text = std::string(input_.substr(start, position_ - start));
    return true;
  }

  bool Literal(std::string_view word, JsonValue::Kind kind, JsonValue& value) {
    if (input_.substr(position_, word.size()) != word) return false;
    position_ += word.size();
    value.kind = kind;
    value.text = std::string(word);
    return true;
  }

  void SkipSpace() {
    while (position_ < input_.size() && std::string_view(" \t\r\n").find(input_[position_]) != std::string_view::npos) {
      ++position_;
    }
  }

  bool Peek(char c) const { return position_ < input_.size() && input_[position_] == c; }

  bool Take(char c) {
    SkipSpace();
    if (!Peek(c)) return false;
    ++position_;
    return true;
  }

  std::string_view input_;
  std::size_t position_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Member(std::string_view key) const {
  for (const auto& [name, value] : members) {
    if (name == key) return &value;
  }
  return nullptr;
}

std::string JsonValue::MemberText(std::string_view key) const {
  const JsonValue* member = Member(key);
  if (member == nullptr || (member->kind != Kind::String && member->kind != Kind::Number)) return "";
  return member->text;
}

std::optional<JsonValue> ParseJson(std::string_view input) { return Parser(input).Document(); }

}  // namespace netshare
