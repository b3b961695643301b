#include "explanation/concordance.h"

#include "app/file_reader.h"
#include "stores/text_ops.h"

#include <algorithm>
#include <unordered_map>

namespace pelmora {

namespace {

bool startsCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::string flattened(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    return out;
}

}  // namespace

Result<TextOccurrences> occurrencesOf(const RunResult& run, const TextRecord& text) {
    Result<ReadText> read = readTextFile(run.folder / text.nameBytes, text.nameBytes);
    if (!read.ok()) {
        return read.error();
    }
    if (read.value().facts.sha256 != text.file.sha256) {
        return Error{Error::Code::ReadFailed,
                     "\"" + text.name + "\" has changed since the run; run the folder again.",
                     "changed since the run"};
    }
    TextOccurrences out;
    out.text = std::move(read.value().decoded.text);
    out.occurrences = findOccurrences(out.text);
    return out;
}

std::string contextBefore(const std::string& text, const Occurrence& o) {
    std::size_t start = o.byteStart;
    for (std::size_t n = 0; start > 0 && n < kContextCharacters;) {
        --start;
        n += startsCharacter(text[start]) ? 1 : 0;
    }
    return flattened(std::string_view(text).substr(start, o.byteStart - start));
}

std::string contextAfter(const std::string& text, const Occurrence& o) {
    std::size_t end = o.byteEnd;
    for (std::size_t n = 0;
         end < text.size() && (n < kContextCharacters || !startsCharacter(text[end]));) {
        n += startsCharacter(text[end]) ? 1 : 0;
        ++end;
    }
    return flattened(std::string_view(text).substr(o.byteEnd, end - o.byteEnd));
}

std::vector<TableRow> concordanceTable(const std::string& name, const TextOccurrences& found,
                                       const Measure* measure, bool withHeader, NameStyle style) {
    std::vector<TableRow> rows;
    if (withHeader) {
        rows.push_back(
            {"text", "measure", "pattern", "form", "start", "end", "left", "right", "inside_word"});
    }
    for (const Occurrence& o : found.occurrences) {
        if (measure != nullptr && o.measure != *measure) {
            continue;
        }
        rows.push_back({shownName(name, style),
                        kMeasures[static_cast<std::size_t>(o.measure)].column, o.pattern, o.form,
                        std::to_string(o.start), std::to_string(o.end),
                        contextBefore(found.text, o), contextAfter(found.text, o),
                        o.insideWord ? "yes" : "no"});
    }
    return rows;
}

std::string formsOf(const std::vector<Occurrence>& occurrences, Measure measure) {
    struct Pattern {
        std::string pattern;
        int index = 0;
        int count = 0;
        std::vector<std::string> words;  // the longer words, once each, as first written
    };
    std::vector<Pattern> patterns;
    for (const Occurrence& o : occurrences) {
        if (o.measure != measure) {
            continue;
        }
        auto it = std::find_if(patterns.begin(), patterns.end(),
                               [&](const Pattern& p) { return p.pattern == o.pattern; });
        if (it == patterns.end()) {
            patterns.push_back({o.pattern, o.patternIndex, 0, {}});
            it = patterns.end() - 1;
        }
        ++it->count;
        if (o.insideWord && std::none_of(it->words.begin(), it->words.end(), [&](const auto& w) {
                return equalsIgnoreCase(w, flattened(o.word));
            })) {
            it->words.push_back(flattened(o.word));
        }
    }
    std::stable_sort(patterns.begin(), patterns.end(),
                     [](const Pattern& a, const Pattern& b) { return a.index < b.index; });
    constexpr std::size_t kNamed = 5;
    std::string out;
    for (const Pattern& p : patterns) {
        out += (out.empty() ? "" : ", ") + p.pattern + " " + std::to_string(p.count);
        if (!p.words.empty()) {
            out += " (in ";
            for (std::size_t i = 0; i < p.words.size() && i < kNamed; ++i) {
                out += (i > 0 ? ", " : "") + p.words[i];
            }
            if (p.words.size() > kNamed) {
                out += " and " + std::to_string(p.words.size() - kNamed) + " more";
            }
            out += ")";
        }
    }
    return out;
}

std::vector<PatternForms> formCounts(const std::vector<Occurrence>& occurrences, Measure measure) {
    struct Pattern {
        PatternForms counts;
        int index = 0;
        std::unordered_map<std::string, std::size_t> formAt;  // by folded spelling
    };
    std::vector<Pattern> patterns;
    std::unordered_map<std::string, std::size_t> patternAt;
    for (const Occurrence& o : occurrences) {
        if (o.measure != measure) {
            continue;
        }
        const auto [p, newPattern] = patternAt.try_emplace(o.pattern, patterns.size());
        if (newPattern) {
            patterns.push_back({{o.pattern, 0, {}}, o.patternIndex, {}});
        }
        Pattern& pattern = patterns[p->second];
        ++pattern.counts.count;
        std::string form = flattened(o.insideWord ? o.word : o.form);
        const auto [f, newForm] =
            pattern.formAt.try_emplace(foldCase(form), pattern.counts.forms.size());
        if (newForm) {
            pattern.counts.forms.push_back({std::move(form), 0});
        }
        ++pattern.counts.forms[f->second].count;
    }
    std::stable_sort(patterns.begin(), patterns.end(),
                     [](const Pattern& a, const Pattern& b) { return a.index < b.index; });
    std::vector<PatternForms> out;
    out.reserve(patterns.size());
    for (Pattern& p : patterns) {
        std::stable_sort(p.counts.forms.begin(), p.counts.forms.end(),
                         [](const FormCount& a, const FormCount& b) { return a.count > b.count; });
        out.push_back(std::move(p.counts));
    }
    return out;
}

std::string formCountsText(const std::vector<PatternForms>& patterns) {
    std::string out;
    for (const PatternForms& p : patterns) {
        out += (out.empty() ? "" : "; ") + p.pattern + " " + std::to_string(p.count);
        if (p.forms.size() == 1 && equalsIgnoreCase(p.forms.front().form, p.pattern)) {
            continue;
        }
        for (std::size_t i = 0; i < p.forms.size() && i < kNamedForms; ++i) {
            out += (i > 0 ? ", " : ": ") + p.forms[i].form + " " + std::to_string(p.forms[i].count);
        }
        if (p.forms.size() > kNamedForms) {
            int rest = 0;
            for (std::size_t i = kNamedForms; i < p.forms.size(); ++i) {
                rest += p.forms[i].count;
            }
            out += " and " + std::to_string(rest) + " more in " +
                   std::to_string(p.forms.size() - kNamedForms) + " other forms";
        }
    }
    return out;
}

}  // namespace pelmora
