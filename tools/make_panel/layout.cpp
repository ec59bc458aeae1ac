// Reads the panel layout text: one statement per line, '#' starts a comment.
//
//   picture <name> <path>                 a picture of the panel's own, in file order
//   background <picture|none>             exactly once
//   button <n> <picture|none> <x> <y> <w> <h> <shown|hidden>   # role
//
// Buttons are numbered from 1 and must come in that order, each with a comment
// saying what the game does with it. A picture is named, or given by its 0-based
// index; -1 and "none" mean no picture. Positions are virtual 512 x 512 units,
// (x, y) the centre and (w, h) half the width and height.
#include "tools/make_panel/layout.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace PanelLayout {
namespace {

bool Fail(std::string* error, const std::string& where, const std::string& what)
{
    if (error)
        *error = where + ": " + what;
    return false;
}

bool ParseInt(const std::string& s, long* v)
{
    if (s.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long r = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || r < -2147483647L || r > 2147483647L)
        return false;
    *v = r;
    return true;
}

bool ParseFloat(const std::string& s, float* v)
{
    if (s.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    float r = std::strtof(s.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(r))
        return false;
    *v = r;
    return true;
}

bool FindPicture(const Layout& layout, const std::string& ref, int32_t* index)
{
    if (ref == "none") {
        *index = PanelFile::kNoPicture;
        return true;
    }
    long n = 0;
    if (ParseInt(ref, &n)) {
        if (n != -1 && (n < 0 || n >= static_cast<long>(layout.pictures.size())))
            return false;
        *index = static_cast<int32_t>(n);
        return true;
    }
    for (size_t i = 0; i < layout.pictures.size(); ++i) {
        if (layout.pictures[i].name == ref) {
            *index = static_cast<int32_t>(i);
            return true;
        }
    }
    return false;
}

} // namespace

bool Parse(const std::string& text, const std::string& source_name, Layout* out, std::string* error)
{
    Layout layout;
    bool have_background = false;
    std::istringstream lines(text);
    std::string line;
    int line_no = 0;
    while (std::getline(lines, line)) {
        ++line_no;
        const std::string where = source_name + ":" + std::to_string(line_no);
        std::string comment;
        size_t hash = line.find('#');
        if (hash != std::string::npos) {
            comment = line.substr(hash + 1);
            line.erase(hash);
        }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;

        if (w[0] == "picture") {
            if (w.size() != 3)
                return Fail(error, where, "expected 'picture <name> <path>'");
            if (!layout.buttons.empty() || have_background)
                return Fail(error, where, "pictures come before the background and the buttons");
            long ignored = 0;
            if (w[1] == "none" || ParseInt(w[1], &ignored))
                return Fail(error, where, "picture name '" + w[1] + "' is reserved or numeric");
            int32_t existing = 0;
            if (FindPicture(layout, w[1], &existing))
                return Fail(error, where, "picture '" + w[1] + "' is named twice");
            layout.pictures.push_back({w[1], w[2]});
        } else if (w[0] == "background") {
            if (w.size() != 2)
                return Fail(error, where, "expected 'background <picture|none>'");
            if (have_background)
                return Fail(error, where, "background given twice");
            if (!FindPicture(layout, w[1], &layout.background))
                return Fail(error, where, "unknown picture '" + w[1] + "'");
            have_background = true;
        } else if (w[0] == "button") {
            if (w.size() != 8)
                return Fail(error, where, "expected 'button <n> <picture|none> <x> <y> <w> <h> <shown|hidden>'");
            if (!have_background)
                return Fail(error, where, "the background line comes before the buttons");
            long number = 0;
            const long expected = static_cast<long>(layout.buttons.size()) + 1;
            if (!ParseInt(w[1], &number) || number != expected)
                return Fail(error, where, "button number '" + w[1] + "' out of order, expected " +
                                              std::to_string(expected));
            PanelFile::ButtonRecord b;
            if (!FindPicture(layout, w[2], &b.picture))
                return Fail(error, where, "unknown picture '" + w[2] + "'");
            if (!ParseFloat(w[3], &b.x) || !ParseFloat(w[4], &b.y) || !ParseFloat(w[5], &b.w) ||
                !ParseFloat(w[6], &b.h))
                return Fail(error, where, "x, y, w and h must be finite numbers");
            if (b.w < 0.0f || b.h < 0.0f)
                return Fail(error, where, "half width and half height cannot be negative");
            if (w[7] == "shown")
                b.hide = false;
            else if (w[7] == "hidden")
                b.hide = true;
            else
                return Fail(error, where, "visibility must be 'shown' or 'hidden', not '" + w[7] + "'");
            if (comment.find_first_not_of(" \t\r") == std::string::npos)
                return Fail(error, where, "button " + w[1] + " needs a comment naming its role");
            layout.buttons.push_back(b);
        } else {
            return Fail(error, where, "unknown statement '" + w[0] + "'");
        }
    }
    if (!have_background)
        return Fail(error, source_name, "no background line (use 'background none')");
    *out = std::move(layout);
    return true;
}

} // namespace PanelLayout
