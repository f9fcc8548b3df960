#pragma once
// Translated texts by key. Without a translation a key reads as itself.

#include <string>
#include <string_view>
#include <unordered_map>

namespace zarn_ui::i18n {

class I18nManager {
 public:
  void insert(std::string key, std::string text) { table_[std::move(key)] = std::move(text); }
  std::string lookup(std::string_view key) const {
    const auto it = table_.find(std::string(key));
    return it == table_.end() ? std::string(key) : it->second;
  }

 private:
  std::unordered_map<std::string, std::string> table_;
};

}  // namespace zarn_ui::i18n
