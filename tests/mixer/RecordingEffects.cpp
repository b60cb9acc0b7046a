#include "RecordingEffects.h"

void RecordingEffects::postLevel(DeckSide deck, int level) {
    lines.push_back(std::string("post ") + (deck == DeckSide::A ? "A " : "B ") + std::to_string(level));
    m_posts.emplace_back(deck, level);
    (deck == DeckSide::A ? m_lastA : m_lastB) = level;
}

void RecordingEffects::setTrackBarPosition(std::string_view name, int position) {
    lines.push_back("slider " + std::string(name) + " " + std::to_string(position));
}

void RecordingEffects::setDisplayText(std::string_view name, std::string_view text) {
    lines.push_back("text " + std::string(name) + " " + std::string(text));
}

void RecordingEffects::setGaugeRange(std::string_view name, int min, int max) {
    lines.push_back("range " + std::string(name) + " " + std::to_string(min) + " " + std::to_string(max));
}

void RecordingEffects::setGaugePosition(std::string_view name, int value) {
    lines.push_back("gauge " + std::string(name) + " " + std::to_string(value));
}

std::vector<std::string> RecordingEffects::take() {
    std::vector<std::string> taken;
    taken.swap(lines);
    m_posts.clear();
    return taken;
}

std::vector<int> RecordingEffects::postedTo(DeckSide deck) const {
    std::vector<int> levels;
    for (const auto& [target, level] : m_posts)
        if (target == deck)
            levels.push_back(level);
    return levels;
}

int RecordingEffects::lastPosted(DeckSide deck) const {
    return deck == DeckSide::A ? m_lastA : m_lastB;
}
