// Reads the music's note list (assets/*.notes): a readable text score turned into timed notes.
//
// The format, one statement per line, a '#' at the start or after a space begins a comment:
//   tempo 104                      quarter notes per minute
//   meter 4/4                      every bar between '|' marks must fill exactly this
//   track NAME channel=1 program=13 volume=100 pan=64 velocity=90
//   ... notes of that track, over as many lines as needed ...
// A note is PITCH/LENGTH: pitch C4 (middle C) to B8 with '#' or 'b' after the letter, a key
// number (for drums), or r for a rest; several pitches joined by '+' sound together.
// LENGTH is 1, 2, 4, 8 or 16 (whole to sixteenth), with '.' for dotted.
// "[" ... "]x3" repeats what lies between (bar lines included) three times.
#include "cNoteList.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct cToken
{
    std::string text;
    int line;
};

std::string At(int line)
{
    return "line " + std::to_string(line) + ": ";
}

bool ParseKey(const std::string& text, int* key)
{
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0]))) {
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        *key = static_cast<int>(v);
        return *end == '\0' && v >= 0 && v <= 127;
    }
    static const int kSteps[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.size() < 2)
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G')
        return false;
    int semitone = kSteps[letter - 'A'];
    size_t i = 1;
    if (text[i] == '#')
        ++semitone, ++i;
    else if (text[i] == 'b')
        --semitone, ++i;
    if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return false;
    *key = (text[i] - '0' + 1) * 12 + semitone;
    return *key >= 0 && *key <= 127;
}

bool ParseLength(const std::string& text, uint32_t* ticks)
{
    std::string digits = text;
    bool dotted = false;
    if (!digits.empty() && digits.back() == '.') {
        dotted = true;
        digits.pop_back();
    }
    const uint32_t whole = 4 * cNoteList::kTicksPerQuarter;
    if (digits == "1" || digits == "2" || digits == "4" || digits == "8" || digits == "16") {
        *ticks = whole / static_cast<uint32_t>(std::atoi(digits.c_str()));
        if (dotted)
            *ticks += *ticks / 2;
        return true;
    }
    return false;
}

// Expands "[ ... ]xN" groups, nested or not.
bool Expand(const std::vector<cToken>& in, size_t* pos, bool inGroup, std::vector<cToken>* out,
            std::string* error)
{
    while (*pos < in.size()) {
        const cToken& t = in[*pos];
        ++*pos;
        if (t.text == "[") {
            std::vector<cToken> group;
            if (!Expand(in, pos, true, &group, error))
                return false;
            const cToken& close = in[*pos - 1];
            const int times = std::atoi(close.text.c_str() + 2);
            if (times < 1) {
                *error = At(close.line) + "a repeat needs a count, like ]x2";
                return false;
            }
            for (int i = 0; i < times; ++i)
                out->insert(out->end(), group.begin(), group.end());
        } else if (t.text.compare(0, 2, "]x") == 0) {
            if (!inGroup) {
                *error = At(t.line) + "']' without '['";
                return false;
            }
            return true;
        } else
            out->push_back(t);
    }
    if (inGroup) {
        *error = "a '[' is never closed";
        return false;
    }
    return true;
}

bool ParseBody(const std::vector<cToken>& raw, uint32_t barTicks, cNoteList::cTrack* track,
               std::string* error)
{
    std::vector<cToken> tokens;
    size_t pos = 0;
    if (!Expand(raw, &pos, false, &tokens, error))
        return false;
    uint32_t tick = 0, barStart = 0;
    for (const cToken& t : tokens) {
        if (t.text == "|") {
            if (tick - barStart != barTicks) {
                *error = At(t.line) + "bar in track " + track->name + " holds " +
                         std::to_string(tick - barStart) + " ticks, not " +
                         std::to_string(barTicks);
                return false;
            }
            barStart = tick;
            continue;
        }
        const size_t slash = t.text.find('/');
        uint32_t length = 0;
        if (slash == std::string::npos || !ParseLength(t.text.substr(slash + 1), &length)) {
            *error = At(t.line) + "'" + t.text + "' is not PITCH/LENGTH";
            return false;
        }
        cNoteList::cNote note = {tick, length, {}};
        const std::string pitches = t.text.substr(0, slash);
        if (pitches != "r") {
            std::stringstream parts(pitches);
            std::string part;
            while (std::getline(parts, part, '+')) {
                int key = 0;
                if (!ParseKey(part, &key)) {
                    *error = At(t.line) + "'" + part + "' is not a pitch";
                    return false;
                }
                note.keys.push_back(key);
            }
            track->notes.push_back(note);
        }
        tick += length;
    }
    if (tick != barStart) {
        *error = "track " + track->name + " ends inside a bar";
        return false;
    }
    track->length = tick;
    return true;
}

bool ParseSetting(const std::string& word, int line, cNoteList::cTrack* track, std::string* error)
{
    const size_t eq = word.find('=');
    const std::string key = word.substr(0, eq);
    const int value = eq == std::string::npos ? -1 : std::atoi(word.c_str() + eq + 1);
    struct
    {
        const char* name;
        int* field;
        int low, high;
    } settings[] = {{"channel", &track->channel, 1, 16},
                    {"program", &track->program, 1, 128},
                    {"volume", &track->volume, 0, 127},
                    {"pan", &track->pan, 0, 127},
                    {"velocity", &track->velocity, 1, 127}};
    for (auto& s : settings) {
        if (key != s.name)
            continue;
        if (value < s.low || value > s.high) {
            *error = At(line) + key + " must lie in " + std::to_string(s.low) + ".." +
                     std::to_string(s.high);
            return false;
        }
        *s.field = value;
        return true;
    }
    *error = At(line) + "unknown track setting '" + word + "'";
    return false;
}

} // namespace

bool cNoteList::Load(const std::string& path, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!Parse(text.str(), error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool cNoteList::Parse(const std::string& text, std::string* error)
{
    tracks.clear();
    std::vector<std::vector<cToken>> bodies;
    std::stringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        // '#' after a letter is a sharp; a comment's '#' starts the line or follows a space.
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '#' &&
                (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) {
                line.resize(i);
                break;
            }
        std::stringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        if (word == "tempo") {
            if (!(words >> tempo) || tempo < 20 || tempo > 300) {
                *error = At(number) + "tempo wants 20..300 quarter notes a minute";
                return false;
            }
        } else if (word == "meter") {
            std::string m;
            words >> m;
            const size_t slash = m.find('/');
            meterBeats = std::atoi(m.c_str());
            meterUnit = slash == std::string::npos ? 0 : std::atoi(m.c_str() + slash + 1);
            if (meterBeats < 1 || (meterUnit != 2 && meterUnit != 4 && meterUnit != 8)) {
                *error = At(number) + "meter looks like 4/4 or 6/8";
                return false;
            }
        } else if (word == "track") {
            cTrack track;
            if (!(words >> track.name)) {
                *error = At(number) + "a track needs a name";
                return false;
            }
            while (words >> word)
                if (!ParseSetting(word, number, &track, error))
                    return false;
            tracks.push_back(track);
            bodies.emplace_back();
        } else {
            if (tracks.empty()) {
                *error = At(number) + "notes before the first track";
                return false;
            }
            do
                bodies.back().push_back({word, number});
            while (words >> word);
        }
    }
    if (tracks.empty()) {
        *error = "no tracks";
        return false;
    }
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (!ParseBody(bodies[i], BarTicks(), &tracks[i], error))
            return false;
        // Every part must end together, or the loop would stumble.
        if (tracks[i].length != tracks[0].length) {
            *error = "track " + tracks[i].name + " is not as long as track " + tracks[0].name;
            return false;
        }
    }
    return true;
}
