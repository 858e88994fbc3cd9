#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace md {

/// One image button of the toolbar strip.
struct ToolbarButton
{
    std::uint32_t command = 0;
    std::string image;      ///< picture file name under the plug-in's data folder
    std::string tooltipKey; ///< text key of the tooltip
    std::u16string tooltip; ///< fixed tooltip used when the key has no text
    bool enabled = true;
};

/// Where a button sits in the strip.
struct ButtonPlacement
{
    std::size_t index = 0; ///< index of the button in its group
    int x = 0;
    int y = 0;
};

/// The toolbar strip's groups of buttons (one group per view), the current group and the
/// placement of its buttons. A click goes to the handler of the group that owns the button.
class ToolbarModel
{
public:
    static constexpr int kButtonSize = 28;
    static constexpr int kFirstX = 5;
    static constexpr int kStep = 33;
    static constexpr int kBufferWidth = 1800;
    static constexpr int kBufferHeight = 34;
    static constexpr std::uint32_t kBackground = 0xF0F0F0;

    using Handler = std::function<void(std::uint32_t command)>;

    struct Group
    {
        std::string key;
        std::vector<ToolbarButton> buttons;
        Handler handler;
    };

    /// Adds a group, or replaces the group with the same key.
    void AddGroup(std::string key, std::vector<ToolbarButton> buttons, Handler handler);
    /// Makes the group current; false when no group has that key (the current one stays).
    bool SelectGroup(const std::string& key);
    /// Enables or disables a button of the current group; false when it has no such button.
    bool EnableButton(std::uint32_t command, bool enabled);
    /// Sends a click on a button of the current group to its owner; false when disabled.
    bool Click(std::uint32_t command) const;

    const std::vector<Group>& Groups() const { return m_groups; }
    const Group* Current() const;
    /// Positions of the current group's buttons in a strip of the given height.
    std::vector<ButtonPlacement> Layout(int height) const;

private:
    Group* CurrentMutable();

    std::vector<Group> m_groups;
    std::string m_current;
};

} // namespace md
