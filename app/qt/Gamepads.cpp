#include "app/qt/Gamepads.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>

namespace poronpa {

namespace {

/// Pads are read this often while one is plugged in: more often than a frame, so that a press
/// reaches the next frame.
constexpr int PadInterval = 8;
/// Without a pad only plugging one in is watched for.
constexpr int IdleInterval = 250;

} // namespace

const char* padButtonName(PadButton button)
{
    switch (button) {
    case PadButton::Left:
        return "Left";
    case PadButton::Right:
        return "Right";
    case PadButton::Up:
        return "Up";
    case PadButton::Down:
        return "Down";
    case PadButton::A:
        return "A";
    case PadButton::B:
        return "B";
    case PadButton::Y:
        return "Y";
    case PadButton::Back:
        return "Back";
    case PadButton::Start:
        return "Start";
    }
    return "";
}

std::pair<bool, bool> StickAxis::update(int value)
{
    negative_ = negative_ ? value < -ReleaseAt : value < -PressAt;
    positive_ = positive_ ? value > ReleaseAt : value > PressAt;
    return {negative_, positive_};
}

struct Gamepads::Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    StickAxis x, y;

    explicit Pad(int deviceIndex)
        : controller(SDL_GameControllerOpen(deviceIndex)),
          id(controller ? SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) : -1)
    {
    }
    ~Pad()
    {
        if (controller)
            SDL_GameControllerClose(controller);
    }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    PadButtons read()
    {
        const auto button = [this](SDL_GameControllerButton b) {
            return SDL_GameControllerGetButton(controller, b) != 0;
        };
        const auto [left, right] = x.update(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
        const auto [up, down] = y.update(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
        PadButtons held;
        held[static_cast<std::size_t>(PadButton::Left)] = left || button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        held[static_cast<std::size_t>(PadButton::Right)] = right || button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        held[static_cast<std::size_t>(PadButton::Up)] = up || button(SDL_CONTROLLER_BUTTON_DPAD_UP);
        held[static_cast<std::size_t>(PadButton::Down)] = down || button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        held[static_cast<std::size_t>(PadButton::A)] = button(SDL_CONTROLLER_BUTTON_A);
        held[static_cast<std::size_t>(PadButton::B)] = button(SDL_CONTROLLER_BUTTON_B);
        held[static_cast<std::size_t>(PadButton::Y)] = button(SDL_CONTROLLER_BUTTON_Y);
        held[static_cast<std::size_t>(PadButton::Back)] = button(SDL_CONTROLLER_BUTTON_BACK);
        held[static_cast<std::size_t>(PadButton::Start)] = button(SDL_CONTROLLER_BUTTON_START);
        return held;
    }
};

Gamepads::Gamepads(QObject* parent) : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &Gamepads::poll);
}

Gamepads::~Gamepads()
{
    stop();
    if (subsystem_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepads::start()
{
    if (!subsystem_) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
            std::cerr << "poronpa: no gamepad support (" << SDL_GetError() << "); playing with the keyboard\n";
            return false;
        }
        subsystem_ = true;
    }
    // Pads already plugged in are announced like pads plugged in now.
    poll();
    return true;
}

void Gamepads::stop()
{
    timer_.stop();
    pads_.clear();
    setHeld({});
}

void Gamepads::poll()
{
    if (!subsystem_)
        return;
    SDL_GameControllerUpdate();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            auto pad = std::make_unique<Pad>(event.cdevice.which);
            const bool known = std::any_of(pads_.begin(), pads_.end(), [&pad](const auto& p) { return p->id == pad->id; });
            if (pad->controller && !known)
                pads_.push_back(std::move(pad));
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            std::erase_if(pads_, [&event](const auto& p) { return p->id == event.cdevice.which; });
        }
    }
    PadButtons now;
    for (const auto& pad : pads_)
        now |= pad->read();
    setHeld(now);
    timer_.start(pads_.empty() ? IdleInterval : PadInterval);
}

void Gamepads::setHeld(PadButtons now)
{
    const PadButtons changed = now ^ held_;
    held_ = now;
    for (std::size_t b = 0; b < PadButtonCount; ++b)
        if (changed[b])
            emit buttonChanged(static_cast<PadButton>(b), now[b]);
}

} // namespace poronpa
