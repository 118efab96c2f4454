// The three sprite buttons: hit-area edges, the frame after each event, and how they differ.
#include "cHeadlessGame.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"
#include "widgets/cDugme.h"
#include "widgets/cDugmeIzlaz.h"
#include "widgets/cIkonica.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using cFrame = SDL_Rect cDugmeSprajt::*;
const cFrame NORMAL = &cDugmeSprajt::normalFrame, HOVER = &cDugmeSprajt::hoverFrame,
             PRESSED = &cDugmeSprajt::pressedFrame;
const Uint8 MOVE = SDL_MOUSEMOTION, DOWN = SDL_MOUSEBUTTONDOWN, UP = SDL_MOUSEBUTTONUP,
            KEY = SDL_KEYDOWN;

// A stand-in screen under the button: its Cleanup runs inside the click's state change.
struct cProbe : cGameState
{
    void Cleanup(cGameEngine*) override
    {
        atChange = {true, look->current, look->pressed, Mix_Playing(-1)};
    }
    void Init(cGameEngine*) override {}
    void HandleEvents(cGameEngine*) override {}
    void Update(cGameEngine*) override {}
    void Draw(cGameEngine*) override {}
    void Pause() override {}
    void Resume() override {}
    const cDugmeSprajt* look = nullptr;
    struct
    {
        bool clicked;
        const SDL_Rect* frame;
        bool pressed;
        int playing;
    } atChange{};
};

// The buttons as the screens place them, and what sets each apart. The widgets share no
// base class, so each is made as its look and a call that hands it an event.
struct cKind
{
    const char* name;
    std::function<void(SDL_Event, cGameEngine*)> (*make)(const cKind&, cGameEngine*,
                                                         cDugmeSprajt**);
    int x, y, w, h; // the hit area, strict on all four edges
    bool armsAnywhere, clicksBeforeChange, writesIconHovered;
    cGameState* target; // where a click leads
};
template <class W>
std::function<void(SDL_Event, cGameEngine*)> Make(const cKind& k, cGameEngine* e,
                                                  cDugmeSprajt** look)
{
    std::shared_ptr<W> widget = std::make_shared<W>(k.x, k.y, k.w, k.h, e);
    *look = &widget->look;
    return [widget](SDL_Event event, cGameEngine* e) { widget->HandleEvent(event, e); };
}
const cKind KINDS[] = {
    {"Start", Make<cDugme>, 207, 318, 215, 102, false, false, false, cIzbor::Instance()},
    {"Icon", Make<cIkonica>, 251, 47, 45, 35, false, false, true, cSerijacija::Instance()},
    {"Exit", Make<cDugmeIzlaz>, 532, 19, 89, 75, true, true, false, cIzbor::Instance()},
};

struct ButtonTest : ::testing::TestWithParam<cKind>
{
    ButtonTest() : handle(k.make(k, &game.engine, &look))
    {
        game.engine.ChangeState(&probe);
        probe.look = look;
    }
    ~ButtonTest() override { game.Stop(); } // while the probe, perhaps on the stack, lives
    bool Shows(cFrame frame) const { return look->current == &(look->*frame); }
    void Send(Uint8 type, int x, int y, Uint8 which = SDL_BUTTON_LEFT)
    {
        SDL_Event e = {};
        if ((e.type = type) == MOVE)
            e.motion.x = Uint16(x), e.motion.y = Uint16(y);
        else // a key event carries these too, and the buttons ignore it
            e.button.button = which, e.button.x = Uint16(x), e.button.y = Uint16(y);
        handle(e, &game.engine);
    }

    const cKind& k = GetParam();
    const int midX = k.x + k.w / 2, midY = k.y + k.h / 2;
    cHeadlessGame game{32};
    cProbe probe;
    cDugmeSprajt* look = nullptr;
    std::function<void(SDL_Event, cGameEngine*)> handle;
};

TEST_P(ButtonTest, EveryEdgeOfTheHitAreaIsOutsideAndAPixelInIsInside)
{
    for (auto [x, y, xIn, yIn] : {std::tuple{k.x, midY, k.x + 1, midY},
                                  {k.x + k.w, midY, k.x + k.w - 1, midY},
                                  {midX, k.y, midX, k.y + 1},
                                  {midX, k.y + k.h, midX, k.y + k.h - 1}}) {
        for (auto [px, py, in] : {std::tuple{x, y, false}, {xIn, yIn, true}}) {
            Send(MOVE, px, py);
            EXPECT_TRUE(Shows(in ? HOVER : NORMAL)) << "motion at " << px << "," << py;
            Send(DOWN, px, py);
            EXPECT_TRUE(Shows(in ? PRESSED : NORMAL)) << "press at " << px << "," << py;
            Send(MOVE, 5, 5);
        }
        Send(UP, x, y);
        EXPECT_FALSE(probe.atChange.clicked) << "release at " << x << "," << y;
    }
    Send(UP, k.x + 1, k.y + k.h - 1);
    EXPECT_EQ(game.engine.states, std::vector<cGameState*>{k.target})
        << "not armed, and it clicks all the same";
}

TEST_P(ButtonTest, TheFrameAfterEachEventAndTheClick)
{
    const bool any =
        k.armsAnywhere; // the exit button arms on any left press and disarms on any release
    game.engine.iconHovered = true;
    SDL_PauseAudio(1); // a click that has started "playing" still plays when we look
    struct
    {
        Uint8 type;
        bool in;
        Uint8 which;
        cFrame frame;
        bool pressed;
    } const steps[] = {
        {DOWN, false, SDL_BUTTON_LEFT, NORMAL, any},
        {MOVE, true, 0, any ? PRESSED : HOVER, any},
        {MOVE, false, 0, NORMAL, false},
        {MOVE, true, 0, HOVER, false},
        {DOWN, true, SDL_BUTTON_RIGHT, HOVER, false},
        {DOWN, false, SDL_BUTTON_MIDDLE, HOVER, false},
        {DOWN, true, SDL_BUTTON_WHEELUP, HOVER, false},
        {UP, true, SDL_BUTTON_WHEELDOWN, HOVER, false},
        {DOWN, true, SDL_BUTTON_LEFT, PRESSED, true},
        {MOVE, true, 0, PRESSED, true},
        {UP, true, SDL_BUTTON_RIGHT, PRESSED, true},
        {KEY, true, 0, PRESSED, true},
        {UP, false, SDL_BUTTON_LEFT, PRESSED, !any}, // the frame waits for the next motion
        {MOVE, false, 0, NORMAL, false},
        {DOWN, false, SDL_BUTTON_LEFT, NORMAL, any},
        {DOWN, true, SDL_BUTTON_LEFT, PRESSED, true},
        {UP, true, SDL_BUTTON_LEFT, HOVER, false}, // the click
    };
    for (const auto& s : steps) {
        Send(s.type, s.in ? midX : 5, s.in ? midY : 5, s.which);
        EXPECT_TRUE(Shows(s.frame) && look->pressed == s.pressed &&
                    (s.type != MOVE || game.engine.iconHovered == (s.in || !k.writesIconHovered)))
            << "step " << &s - steps;
    }
    // The exit button shows hover, disarms and clicks before it leaves; the others after.
    EXPECT_TRUE(probe.atChange.frame == &(look->*(k.clicksBeforeChange ? HOVER : PRESSED)) &&
                probe.atChange.pressed != k.clicksBeforeChange);
    EXPECT_TRUE(!game.engine.sounds.klik ||
                (probe.atChange.playing == k.clicksBeforeChange && Mix_Playing(-1) == 1));
    SDL_PauseAudio(0); // left paused, shutting the audio down hangs
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonTest, ::testing::ValuesIn(KINDS),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
