#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sysinfo/sysinfo_lookup.h"

namespace corvane::testing {

// A system whose registry, files and PATH hold what the test puts there, and
// which remembers what was asked of it.
struct FakeSystemInfo : SystemInfoHost {
    std::map<std::pair<std::string, std::string>, std::string> registry;
    std::set<std::string> files;
    std::map<std::string, std::string> path;
    bool startFails = false;
    bool lookupThrows = false;

    std::vector<std::string> lookups;
    std::vector<std::string> started;
    std::vector<std::string> messages;

    std::optional<std::string> machineValue(const std::string& key,
                                            const std::string& value) override {
        lookups.push_back(key + " " + value);
        if (lookupThrows) throw std::runtime_error("registry unreadable");
        const auto found = registry.find({key, value});
        if (found == registry.end()) return std::nullopt;
        return found->second;
    }
    bool fileExists(const std::string& file) override {
        lookups.push_back("file " + file);
        return files.contains(file);
    }
    std::string findProgram(const std::string& name) override {
        const auto found = path.find(name);
        return found == path.end() ? std::string() : found->second;
    }
    bool start(const std::string& program) override {
        started.push_back(program);
        return !startFails;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

}  // namespace corvane::testing
