#include "core/panel/ToolbarModel.h"

#include <algorithm>

namespace md {

void ToolbarModel::AddGroup(std::string key, std::vector<ToolbarButton> buttons, Handler handler)
{
    auto it = std::find_if(m_groups.begin(), m_groups.end(),
                           [&](const Group& group) { return group.key == key; });
    Group group{key, std::move(buttons), std::move(handler)};
    if (it != m_groups.end())
        *it = std::move(group);
    else
        m_groups.push_back(std::move(group));
    Notify(Change::Groups, key);
}

void ToolbarModel::RemoveGroup(const std::string& key)
{
    const auto removed =
        std::erase_if(m_groups, [&](const Group& group) { return group.key == key; });
    if (removed == 0)
        return;
    if (m_current == key)
        m_current.clear();
    Notify(Change::Groups, key);
}

void ToolbarModel::Notify(Change change, const std::string& key) const
{
    if (m_listener)
        m_listener(change, key);
}

bool ToolbarModel::SelectGroup(const std::string& key)
{
    const bool known = std::any_of(m_groups.begin(), m_groups.end(),
                                   [&](const Group& group) { return group.key == key; });
    if (known && m_current != key) {
        m_current = key;
        Notify(Change::Current, key);
    }
    return known;
}

const ToolbarModel::Group* ToolbarModel::Current() const
{
    for (const Group& group : m_groups)
        if (group.key == m_current)
            return &group;
    return nullptr;
}

ToolbarModel::Group* ToolbarModel::CurrentMutable()
{
    return const_cast<Group*>(static_cast<const ToolbarModel*>(this)->Current());
}

bool ToolbarModel::EnableButton(std::uint32_t command, bool enabled)
{
    Group* group = CurrentMutable();
    if (!group)
        return false;
    for (ToolbarButton& button : group->buttons)
        if (button.command == command) {
            if (button.enabled != enabled) {
                button.enabled = enabled;
                Notify(Change::Enabled, group->key);
            }
            return true;
        }
    return false;
}

bool ToolbarModel::Click(std::uint32_t command) const
{
    const Group* group = Current();
    if (!group)
        return false;
    for (const ToolbarButton& button : group->buttons)
        if (button.command == command && button.enabled) {
            if (group->handler)
                group->handler(command);
            return true;
        }
    return false;
}

StripLayout ToolbarModel::Layout(int width, int height) const
{
    StripLayout layout;
    const Group* group = Current();
    if (!group)
        return layout;
    const int y = (height - kButtonSize) / 2;
    const int count = static_cast<int>(group->buttons.size());
    // The buttons that end at or before `right`.
    const auto fitting = [](int right) {
        return right < kFirstX + kButtonSize ? 0 : (right - kFirstX - kButtonSize) / kStep + 1;
    };
    int shown = count;
    if (fitting(width) < count) {
        constexpr int gap = kStep - kButtonSize;
        layout.overflow = true;
        layout.overflowX = std::max(kFirstX, width - gap - kOverflowWidth);
        layout.overflowY = y;
        shown = std::min(count, fitting(layout.overflowX - gap));
    }
    for (int i = 0; i < shown; ++i)
        layout.shown.push_back({static_cast<std::size_t>(i), kFirstX + i * kStep, y});
    layout.overflowFrom = static_cast<std::size_t>(shown);
    return layout;
}

} // namespace md
