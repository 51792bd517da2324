#pragma once

#include "jsonld/recipepage.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The JSON side of the recipe data of a page: blocks, references, types and the texts of values,
// each bounded, for the converter in recipepage.cpp.
namespace kovanta::jsonld {

using nlohmann::json;

// Numbers of the head lines and list columns; more is no real recipe value.
inline constexpr long long kMaxFieldValue = 99999;
// Nodes looked at per JSON block, when collecting ids and searching recipes.
inline constexpr std::size_t kMaxNodes = 200000;

// The first JSON value of a block (a block that runs on, unterminated, into the rest of the
// page still gives its data), or nothing when it nests deeper than maxDepth.
std::optional<std::string_view> FirstJsonValue(std::string_view block, std::size_t maxDepth);

// The nodes of one JSON document with an "@id" and more, so that a reference ({"@id": ...}
// alone, as in an @graph) can be followed.
class Graph {
public:
    explicit Graph(const json& doc)
    {
        std::size_t budget = kMaxNodes;
        Collect(doc, 0, budget);
    }

    const json& Resolve(const json& v) const
    {
        if (v.is_object() && v.size() == 1) {
            const auto id = v.find("@id");
            if (id != v.end() && id->is_string()) {
                const auto found = ids_.find(id->get_ref<const std::string&>());
                if (found != ids_.end())
                    return *found->second;
            }
        }
        return v;
    }

private:
    void Collect(const json& v, std::size_t depth, std::size_t& budget)
    {
        if (budget == 0 || depth > kMaxJsonDepth)
            return;
        --budget;
        if (v.is_object()) {
            const auto id = v.find("@id");
            if (id != v.end() && id->is_string() && v.size() > 1)
                ids_.emplace(id->get_ref<const std::string&>(), &v);
        }
        if (v.is_structured())
            for (const json& child : v)
                Collect(child, depth + 1, budget);
    }

    std::unordered_map<std::string, const json*> ids_;
};

// A type name without its vocabulary ("schema:Recipe", "http://schema.org/Recipe").
bool TypeIs(const json& v, std::string_view type);
// The recipes below v (references followed), at most kMaxRecipesPerPage, each once.
void FindRecipes(const json& v, const Graph& graph, std::size_t depth, std::size_t& budget,
                 std::vector<const json*>& out);
// A member that is there and not null.
const json* Member(const json& obj, const char* name);
// A string value, cut to kMaxTextBytes at a character boundary.
std::string Capped(const std::string& s);
std::string NumberText(const json& v);
// The text a value stands for, raw (entities and markup still in it): a string, a number, the
// name or text of an object, the first such text of a list.
std::string RawText(const json& value, const Graph& graph, std::size_t depth = 0);
// The plain text of a member, or empty.
std::string MemberText(const json& obj, const char* name, const Graph& graph);
// A count for a field of the file: rounded, 0 for nothing or less, at most kMaxFieldValue.
long long Clamp(double value);

} // namespace kovanta::jsonld
