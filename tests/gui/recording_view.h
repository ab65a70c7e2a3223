// A view that writes what happens to it into a shared log.
#pragma once

#include <string>
#include <vector>

#include "gui/gui_view.h"

struct EventLog {
    std::vector<std::string> events;
    void add(const std::string& event) { events.push_back(event); }
    int count(const std::string& event) const {
        int n = 0;
        for (const std::string& e : events) n += e == event ? 1 : 0;
        return n;
    }
};

class RecordingView : public GuiView {
public:
    RecordingView(const GuiRect& size, std::string name, EventLog& log)
        : GuiView(size), name(std::move(name)), log(log) {}
    ~RecordingView() override { log.add("delete " + name); }

    void draw(DrawContext&) override { log.add("draw " + name); }
    void mouseDown(DrawContext&, GuiPoint& where) override {
        lastClick = where;
        log.add("click " + name);
    }
    void update(DrawContext&) override { log.add("update " + name); }
    void loseFocus() override { log.add("loseFocus " + name); }

    std::string name;
    EventLog& log;
    GuiPoint lastClick{-1, -1};
};
