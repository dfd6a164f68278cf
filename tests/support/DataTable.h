// The committed data tables (data/*.tsv) as the data tests read them.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// The tab-separated lines of a data file after its header, split (empty fields kept); '#'
// lines are comments. Empty when the file cannot be read.
inline std::vector<std::vector<std::string>> ReadTable(const char* path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> rows;
    bool header = true;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (std::exchange(header, false)) {
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) {
            fields.push_back(field);
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}
