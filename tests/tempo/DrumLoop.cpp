#include "DrumLoop.h"

#include "support/TemporaryFolder.h"

#include <cmath>
#include <stdexcept>

namespace tempo_test {
namespace {

void run(const std::string& command) {
    if (test_support::runCommand(command + " >/dev/null 2>&1") != 0)
        throw std::runtime_error("drum loop command failed: " + command);
}

} // namespace

void makeDrumLoop(const std::string& path, double bpm, double seconds) {
    const int rate = 44100;
    const long beatSamples = std::lround(60.0 / bpm * rate);
    const long beats = static_cast<long>(std::ceil(seconds * rate / static_cast<double>(beatSamples)));
    const std::string base = path + ".parts";
    const std::string kick = base + "-kick.wav";
    const std::string hat = base + "-hat.wav";
    const std::string beat = base + "-beat.wav";
    const std::string loop = base + "-loop.wav";
    const std::string format = " -r 44100 -c 2 -b 16 ";
    run("sox -n" + format + kick + " synth 0.12 sine 150:45 fade q 0.002 0.12 0.1 vol 0.9");
    run("sox -n" + format + hat + " synth 0.04 whitenoise highpass 6000 fade q 0.001 0.04 0.035 vol 0.35 pad " +
        std::to_string(beatSamples / 2) + "s");
    run("sox -m " + kick + " " + hat + " " + beat + " pad 0 " + std::to_string(beatSamples) + "s trim 0 " +
        std::to_string(beatSamples) + "s");
    const bool mp3 = path.size() > 4 && path.compare(path.size() - 4, 4, ".mp3") == 0;
    run("sox " + beat + " " + (mp3 ? loop : path) + " repeat " + std::to_string(beats - 1));
    if (mp3)
        run("lame --quiet --cbr -b 192 " + loop + " " + path);
    for (const std::string& part : {kick, hat, beat, loop})
        std::remove(part.c_str());
}

} // namespace tempo_test
