#include "platform/wine/steam_libraries.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/text_codec.h"

namespace quorvik::platform::wine {
namespace {

enum class TokenKind { Open, Close, Text, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    bool quoted = false;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

class Tokenizer {
public:
    // Steam writes no byte-order mark, but an editor saving the file may.
    explicit Tokenizer(std::string_view text)
        : text_(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text) {}

    Token next() {
        for (;;) {
            while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
            if (text_.substr(pos_, 2) != "//") break;
            const auto nl = text_.find('\n', pos_);
            pos_ = nl == std::string_view::npos ? text_.size() : nl + 1;
        }
        Token token;
        if (pos_ >= text_.size()) return token;
        const char c = text_[pos_];
        if (c == '{' || c == '}') {
            ++pos_;
            token.kind = c == '{' ? TokenKind::Open : TokenKind::Close;
            return token;
        }
        token.kind = TokenKind::Text;
        if (c != '"') {
            const std::size_t start = pos_;
            while (pos_ < text_.size() && !isSpace(text_[pos_]) && text_[pos_] != '"' &&
                   text_[pos_] != '{' && text_[pos_] != '}') {
                ++pos_;
            }
            token.text = text_.substr(start, pos_ - start);
            return token;
        }
        token.quoted = true;
        ++pos_;
        while (pos_ < text_.size()) {
            const char d = text_[pos_++];
            if (d == '"') return token;
            if (d == '\\' && pos_ < text_.size() && (text_[pos_] == '\\' || text_[pos_] == '"')) {
                token.text.push_back(text_[pos_++]);
            } else {
                token.text.push_back(d);
            }
        }
        return Token{};  // an unterminated string ends the file
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

using platform::sameLetters;

bool isNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A platform condition such as [$WIN32] after a value.
bool isCondition(const Token& token) {
    return !token.quoted && token.text.size() >= 2 && token.text.front() == '[' &&
           token.text.back() == ']';
}

// A path holding a NUL would be cut short by the system: no library.
bool usablePath(const std::string& text) {
    return !text.empty() && text.find('\0') == std::string::npos;
}

}  // namespace

std::vector<std::string> parseLibraryFolders(std::string_view text) {
    std::vector<std::string> folders;
    Tokenizer tokens(text);
    // Only the names of the two outer blocks matter; deeper ones are counted.
    std::array<std::string, 2> names;
    std::size_t depth = 0;
    std::optional<std::string> key;

    const auto inLibraryFolders = [&] {
        return depth >= 1 && sameLetters(names[0], "libraryfolders");
    };

    for (Token token = tokens.next(); token.kind != TokenKind::End; token = tokens.next()) {
        switch (token.kind) {
            case TokenKind::Open:
                if (depth < names.size()) names[depth] = key.value_or(std::string());
                ++depth;
                key.reset();
                break;
            case TokenKind::Close:
                if (depth > 0) --depth;
                key.reset();
                break;
            case TokenKind::Text:
                if (!key) {
                    if (!isCondition(token)) key = std::move(token.text);
                    break;
                }
                // Old layout: "1" "/path" right inside the outer block. Current
                // layout: "path" "/path" inside a numbered block.
                if (inLibraryFolders() && usablePath(token.text) &&
                    ((depth == 1 && isNumber(*key)) ||
                     (depth == 2 && isNumber(names[1]) && sameLetters(*key, "path")))) {
                    folders.push_back(std::move(token.text));
                }
                key.reset();
                break;
            case TokenKind::End:
                break;
        }
    }
    return folders;
}

std::optional<SteamAppManifest> parseAppManifest(std::string_view text) {
    SteamAppManifest manifest;
    Tokenizer tokens(text);
    std::size_t depth = 0;
    bool inAppState = false;
    std::optional<std::string> key;
    for (Token token = tokens.next(); token.kind != TokenKind::End; token = tokens.next()) {
        if (token.kind == TokenKind::Open) {
            if (depth == 0) inAppState = key && sameLetters(*key, "AppState");
            ++depth;
            key.reset();
        } else if (token.kind == TokenKind::Close) {
            if (depth > 0) --depth;
            key.reset();
        } else if (!key) {
            if (!isCondition(token)) key = std::move(token.text);
        } else {
            if (depth == 1 && inAppState) {
                if (sameLetters(*key, "appid"))
                    manifest.appId = std::move(token.text);
                else if (sameLetters(*key, "name"))
                    manifest.name = std::move(token.text);
                else if (sameLetters(*key, "installdir"))
                    manifest.installDir = std::move(token.text);
            }
            key.reset();
        }
    }
    // The install folder is one name under steamapps/common, never a path.
    if (!isNumber(manifest.appId) || !usablePath(manifest.installDir) ||
        manifest.installDir.find('/') != std::string::npos || manifest.installDir == ".." ||
        manifest.installDir == ".") {
        return std::nullopt;
    }
    return manifest;
}

std::vector<std::string> parseConfigLibraryFolders(std::string_view text) {
    constexpr std::string_view kKey = "BaseInstallFolder_";
    std::vector<std::string> folders;
    Tokenizer tokens(text);
    std::optional<std::string> key;
    for (Token token = tokens.next(); token.kind != TokenKind::End; token = tokens.next()) {
        if (token.kind != TokenKind::Text) {
            key.reset();
        } else if (!key) {
            if (!isCondition(token)) key = std::move(token.text);
        } else {
            if (key->size() > kKey.size() && sameLetters(key->substr(0, kKey.size()), kKey) &&
                isNumber(std::string_view(*key).substr(kKey.size())) && usablePath(token.text)) {
                folders.push_back(std::move(token.text));
            }
            key.reset();
        }
    }
    return folders;
}

}  // namespace quorvik::platform::wine
