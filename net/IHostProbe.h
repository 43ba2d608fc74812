#pragma once
#include <string>

// Asks whether one host answers. The connectivity check is handed one, so tests can script it.
class IHostProbe {
public:
    virtual ~IHostProbe() = default;
    virtual bool Answers(const std::string& host) = 0;
};
