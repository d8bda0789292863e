#include "production/XmlText.h"

String XmlEscape(const String& Value) {
    String escaped;
    escaped.reserve(Value.size());
    for (char c : Value) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
