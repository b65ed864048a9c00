#pragma once

#include <string>
#include <vector>

#include "decompile/authored_scenario.hpp"

namespace scenario {

// The two documents of a scenario as text (Windows-1252, CR LF after every line), laid
// out as "scenario fmt" lays them out, under the names the compiler reads them by.
struct scenario_documents {
    std::string line_name;  // NAME_linea.txt
    std::string line;
    std::string train_name;  // NAME_TRAIN-.txt
    std::string train;
};

// Writes the documents of an authored scenario: a remark at the top naming the files
// they were decompiled from, then every row in its section, the sections in the
// order of the built-in documents (a section comes again where the rows had to be
// written in another order).
scenario_documents write_documents(const authored_scenario& a,
                                   const std::vector<std::string>& from_files);

}  // namespace scenario
