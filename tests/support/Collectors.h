// What the loader hands to its sink and its error reporter, collected for the tests to check.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ErrorReporter.h"
#include "Exception.h"
#include "StateArchive.h"

// Counts the entries of the lists since they were last reset, keeping nothing.
class CountingSink : public IStateArchiveSink {
public:
    void ResetZipList() override { zips = 0; }
    void ResetCityList() override { cities = 0; }
    void AddZipEntry(const std::string&) override { ++zips; }
    void AddCityEntry(const std::string&) override { ++cities; }
    std::size_t zips = 0;
    std::size_t cities = 0;
};

// Every error message reported, in order.
class CollectingReporter : public IErrorReporter {
public:
    void ReportError(const CException& error) override {
        messages.push_back(error.GetErrorMessage());
    }
    std::vector<std::string> messages;
};
