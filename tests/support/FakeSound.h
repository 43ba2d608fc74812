#pragma once
#include "platform/Sound.h"

#include <string>
#include <vector>

// Records the sounds the program asked for, installed for as long as it lives.
class RecordingSound : public ISound {
public:
    void Play(const std::string& name) override { played.push_back(name); }

    std::vector<std::string> played;

private:
    ISound::Installation installed_{*this};
};
