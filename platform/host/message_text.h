// Values a person gave (a setting, a path, a word of a script) as the hosts'
// messages show them: whatever the value holds, the message stays one line
// and sends nothing but text to the terminal.
#pragma once

#include <string>

// Backslashes escaped and control characters written as \xNN ("12\x0a" for
// a value holding a line feed); with `in_quotes`, double quotes escaped too.
inline std::string host_escape(const std::string& text, bool in_quotes = false) {
    static const char HEX[] = "0123456789abcdef";
    std::string escaped;
    for (char c : text) {
        unsigned char byte = (unsigned char)c;
        if (c == '\\' || (in_quotes && c == '"')) {
            escaped += '\\';
            escaped += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            escaped += "\\x";
            escaped += HEX[byte >> 4];
            escaped += HEX[byte & 15];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// The value in double quotes, escaped as above.
inline std::string host_quote(const std::string& text) {
    return "\"" + host_escape(text, true) + "\"";
}
