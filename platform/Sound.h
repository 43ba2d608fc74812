#pragma once
#include <string>

// Short feedback sounds, played by name from the program's sound folder. The program has one
// current service (a documented singleton): the window layer installs one that reaches the
// desktop's sound system, tests install a recording one, and with none installed nothing
// sounds.
class ISound {
public:
    virtual ~ISound() = default;
    // Starts `name` and returns at once, cutting off the sound still playing. A missing file
    // or sound device is no error: the user simply hears nothing.
    virtual void Play(const std::string& name) = 0;

    // The file of a sound: `folder` (ending in a slash) + name + ".wav".
    static std::string FileOf(const std::string& folder, const std::string& name);

    static ISound& Current();
    // Installs `sound` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(ISound& sound);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        ISound* previous_;
    };
};

class SilentSound : public ISound {
public:
    void Play(const std::string&) override {}
};
