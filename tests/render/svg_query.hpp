#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace scenario::testing {

// A drawn picture read back with a full XML parser; a document that does not parse
// fails the test.
inline pugi::xml_document read_svg(const std::string& svg) {
    pugi::xml_document doc;
    const pugi::xml_parse_result r = doc.load_buffer(svg.data(), svg.size());
    EXPECT_TRUE(r) << r.description() << " at byte " << r.offset;
    return doc;
}

// The elements of one class, inside the group with id `group` when one is named.
inline pugi::xpath_node_set with_class(const pugi::xml_node& root, const std::string& cls,
                                       const std::string& group = "") {
    const std::string within = group.empty() ? "" : "//*[@id='" + group + "']";
    return root.select_nodes((within + "//*[@class='" + cls + "']").c_str());
}

// One attribute of each element, as a number, in document order.
inline std::vector<std::int64_t> numbers(const pugi::xpath_node_set& set,
                                         const char* attribute = "data-position") {
    std::vector<std::int64_t> out;
    for (const pugi::xpath_node& n : set) {
        out.push_back(n.node().attribute(attribute).as_llong(-1));
    }
    return out;
}

// All the text inside an element (UTF-8).
inline std::string all_text(const pugi::xml_node& node) {
    return pugi::xpath_query("string(.)").evaluate_string(pugi::xpath_node(node));
}

}  // namespace scenario::testing
