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

/// The current group laid out in a strip: the buttons that fit in a row from the left and, when
/// not all do, the overflow button at the right end, which offers the rest in order.
struct StripLayout
{
    std::vector<ButtonPlacement> shown;
    /// Index of the first button the overflow button offers; the group's size when all fit.
    std::size_t overflowFrom = 0;
    bool overflow = false;
    int overflowX = 0;
    int overflowY = 0;
};

/// The toolbar strip's groups of buttons (one group per view), the current group and the
/// placement of its buttons. A click goes to the handler of the group that owns the button.
/// The design document holds it: the views fill and switch it, the strip the host embeds shows
/// it and hears of every change through its listener.
class ToolbarModel
{
public:
    static constexpr int kButtonSize = 28;
    static constexpr int kFirstX = 5;
    static constexpr int kStep = 33;
    static constexpr int kBufferWidth = 1800;
    static constexpr int kBufferHeight = 34;
    static constexpr std::uint32_t kBackground = 0xF0F0F0;
    /// Width of the overflow button; it is as tall as a button and keeps the buttons' gap.
    static constexpr int kOverflowWidth = 16;

    using Handler = std::function<void(std::uint32_t command)>;

    enum class Change
    {
        Groups,  ///< a group was added, replaced or removed (its key comes along)
        Current, ///< another group became current
        Enabled  ///< a button of the current group was enabled or disabled
    };
    using Listener = std::function<void(Change change, const std::string& key)>;

    struct Group
    {
        std::string key;
        std::vector<ToolbarButton> buttons;
        Handler handler;
    };

    /// Adds a group, or replaces the group with the same key.
    void AddGroup(std::string key, std::vector<ToolbarButton> buttons, Handler handler);
    /// Removes a group (its owner goes away); a current group leaves no group current.
    void RemoveGroup(const std::string& key);
    /// Makes the group current; false when no group has that key (the current one stays).
    bool SelectGroup(const std::string& key);
    /// Enables or disables a button of the current group; false when it has no such button.
    bool EnableButton(std::uint32_t command, bool enabled);
    /// Sends a click on a button of the current group to its owner; false when disabled.
    bool Click(std::uint32_t command) const;

    /// The one view that follows the model; an empty listener ends it.
    void SetListener(Listener listener) { m_listener = std::move(listener); }

    const std::vector<Group>& Groups() const { return m_groups; }
    const Group* Current() const;
    /// Positions of the current group's buttons in a strip of the given size.
    StripLayout Layout(int width, int height) const;

private:
    Group* CurrentMutable();
    void Notify(Change change, const std::string& key) const;

    std::vector<Group> m_groups;
    std::string m_current;
    Listener m_listener;
};

} // namespace md
