// The main frame's controls that the game flow writes to: the status line, the
// chat list and the list of users at the table.
#pragma once

#include <string>
#include <vector>

class IFrameUi {
public:
    virtual ~IFrameUi() = default;
    // The first pane of the status bar; an empty text clears it.
    virtual void SetStatusText(const std::string& text) = 0;
    // Adds a line to the chat list and scrolls it into view.
    virtual void AddChatListLine(const std::string& line) = 0;
    // Every line of the chat list, oldest first.
    virtual std::vector<std::string> ChatListLines() const = 0;
    virtual void AddUserName(const std::string& name) = 0;
    // Removes the exact name when the list holds it.
    virtual void RemoveUserName(const std::string& name) = 0;
};
