#include "jsonld/jsondoc.h"

#include "jsonld/webtext.h"

#include <algorithm>
#include <cmath>

namespace kovanta::jsonld {

// The first JSON value of a block (a block that runs on, unterminated, into the rest of the
// page still gives its data), or nothing when it nests deeper than maxDepth.
std::optional<std::string_view> FirstJsonValue(std::string_view block, std::size_t maxDepth)
{
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < block.size(); ++i) {
        const char c = block[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth)
                return std::nullopt;
        } else if ((c == ']' || c == '}') && depth > 0) {
            if (--depth == 0)
                return block.substr(0, i + 1);
        }
    }
    return block;
}


// A type name without its vocabulary ("schema:Recipe", "http://schema.org/Recipe").
bool TypeIs(const json& v, std::string_view type)
{
    if (!v.is_object())
        return false;
    const auto t = v.find("@type");
    if (t == v.end())
        return false;
    const auto matches = [&](const json& name) {
        if (!name.is_string())
            return false;
        std::string_view s = name.get_ref<const std::string&>();
        const std::size_t cut = s.find_last_of("/:#");
        if (cut != std::string_view::npos)
            s.remove_prefix(cut + 1);
        return s.size() == type.size() &&
               std::equal(s.begin(), s.end(), type.begin(), [](char a, char b) {
                   return (a | 0x20) == (b | 0x20);
               });
    };
    if (t->is_array())
        return std::any_of(t->begin(), t->end(), matches);
    return matches(*t);
}

void FindRecipes(const json& v, const Graph& graph, std::size_t depth, std::size_t& budget,
                 std::vector<const json*>& out)
{
    if (budget == 0 || depth > kMaxJsonDepth || out.size() >= kMaxRecipesPerPage)
        return;
    --budget;
    const json& node = graph.Resolve(v);
    if (TypeIs(node, "Recipe")) {
        if (std::find(out.begin(), out.end(), &node) == out.end())
            out.push_back(&node);
        return;
    }
    if (node.is_structured())
        for (const json& child : node)
            FindRecipes(child, graph, depth + 1, budget, out);
}

const json* Member(const json& obj, const char* name)
{
    if (!obj.is_object())
        return nullptr;
    const auto it = obj.find(name);
    return it == obj.end() || it->is_null() ? nullptr : &*it;
}

// A string value, cut to kMaxTextBytes at a character boundary.
std::string Capped(const std::string& s)
{
    if (s.size() <= kMaxTextBytes)
        return s;
    std::size_t n = kMaxTextBytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

std::string NumberText(const json& v)
{
    if (v.is_number_integer() || v.is_number_unsigned())
        return v.dump();
    const double d = v.get<double>();
    return std::isfinite(d) ? std::to_string(d) : std::string();
}

// The text a value stands for, raw (entities and markup still in it): a string, a number, the
// name or text of an object, the first such text of a list.
std::string RawText(const json& value, const Graph& graph, std::size_t depth)
{
    const json& v = graph.Resolve(value);
    if (v.is_string())
        return Capped(v.get_ref<const std::string&>());
    if (v.is_number())
        return NumberText(v);
    if (depth > 4)
        return {};
    if (v.is_object()) {
        for (const char* key : {"name", "text", "@value"})
            if (const json* m = Member(v, key)) {
                std::string t = RawText(*m, graph, depth + 1);
                if (!t.empty())
                    return t;
            }
    }
    if (v.is_array())
        for (const json& e : v) {
            std::string t = RawText(e, graph, depth + 1);
            if (!PlainText(t).empty())
                return t;
        }
    return {};
}

std::string MemberText(const json& obj, const char* name, const Graph& graph)
{
    const json* m = Member(obj, name);
    return m ? PlainText(RawText(*m, graph)) : std::string();
}

long long Clamp(double value)
{
    if (!std::isfinite(value) || value <= 0)
        return 0;
    return std::min(std::llround(value), kMaxFieldValue);
}

} // namespace kovanta::jsonld
