// The three sprite buttons: hit-area edges, the frame after each event, and how they differ.
#include "cHeadlessGame.h"
#include "engine/cGameState.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"
#include "widgets/cDugme.h"
#include "widgets/cDugmeIzlaz.h"
#include "widgets/cIkonica.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The buttons as the screens place them, and what sets each apart.
struct StartButton
{
    using Widget = cDugme;
    static constexpr int x = 207, y = 318, w = 215, h = 102;
    static constexpr int frameW = 215, frameH = 102;
    static constexpr uint32_t rgb = 0x20A020;
    static constexpr bool armsAnywhere = false;
    static constexpr bool clicksBeforeChange = false;
    static constexpr bool writesIconHovered = false;
    static cGameState* Target() { return cIzbor::Instance(); }
};

struct Icon
{
    using Widget = cIkonica;
    static constexpr int x = 251, y = 47, w = 45, h = 35;
    static constexpr int frameW = 47, frameH = 37;
    static constexpr uint32_t rgb = 0xF0C000;
    static constexpr bool armsAnywhere = false;
    static constexpr bool clicksBeforeChange = false;
    static constexpr bool writesIconHovered = true;
    static cGameState* Target() { return cSerijacija::Instance(); }
};

struct ExitButton
{
    using Widget = cDugmeIzlaz;
    static constexpr int x = 532, y = 19, w = 89, h = 75;
    static constexpr int frameW = 89, frameH = 75;
    static constexpr uint32_t rgb = 0xD03030;
    static constexpr bool armsAnywhere = true;
    static constexpr bool clicksBeforeChange = true;
    static constexpr bool writesIconHovered = false;
    static cGameState* Target() { return cIzbor::Instance(); }
};

enum cFrame { NORMAL, HOVER, PRESSED, OTHER };

// A stand-in screen under the button: its Cleanup runs inside the click's state
// change, so it sees how far the button had got at that moment.
class cProbe : public cGameState
{
public:
    void Init(cGameEngine*) override {}
    void Cleanup(cGameEngine*) override
    {
        cleaned = true;
        currentAtChange = look->current;
        pressedAtChange = look->pressed;
        playingAtChange = Mix_Playing(-1);
    }
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(cGameEngine*) override {}
    void Update(cGameEngine*) override {}
    void Draw(cGameEngine*) override {}

    const cDugmeSprajt* look = nullptr;
    bool cleaned = false;
    const SDL_Rect* currentAtChange = nullptr;
    bool pressedAtChange = false;
    int playingAtChange = -1;
};

template <typename Kind>
class ButtonTest : public ::testing::Test
{
protected:
    using Widget = typename Kind::Widget;

    ButtonTest() : button(new Widget(Kind::x, Kind::y, Kind::w, Kind::h, &game.engine)) {}

    ~ButtonTest() override
    {
        // The click's state change may have left the probe or a screen on the stack.
        game.Stop();
    }

    const cDugmeSprajt& Look() const { return button->look; }

    cFrame Frame() const
    {
        const cDugmeSprajt& look = Look();
        if (look.current == &look.normalFrame)
            return NORMAL;
        if (look.current == &look.hoverFrame)
            return HOVER;
        if (look.current == &look.pressedFrame)
            return PRESSED;
        return OTHER;
    }

    void Motion(int x, int y)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
        button->HandleEvent(event, &game.engine);
    }

    void Button(bool down, int x, int y, Uint8 which = SDL_BUTTON_LEFT)
    {
        SDL_Event event = {};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = which;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
        button->HandleEvent(event, &game.engine);
    }
    void Press(int x, int y, Uint8 which = SDL_BUTTON_LEFT) { Button(true, x, y, which); }
    void Release(int x, int y, Uint8 which = SDL_BUTTON_LEFT) { Button(false, x, y, which); }

    // Puts the probe under the button so a click's state change can be seen.
    void StandOnProbe()
    {
        probe.look = &Look();
        game.engine.ChangeState(&probe);
    }
    bool Clicked() const { return probe.cleaned; }

    static constexpr int midX = Kind::x + Kind::w / 2;
    static constexpr int midY = Kind::y + Kind::h / 2;
    static constexpr int outX = 5, outY = 5;

    cHeadlessGame game{32};
    cProbe probe;
    std::unique_ptr<Widget> button;
};

using Kinds = ::testing::Types<StartButton, Icon, ExitButton>;
TYPED_TEST_SUITE(ButtonTest, Kinds);

TYPED_TEST(ButtonTest, EveryEdgeOfTheHitAreaIsOutside)
{
    const int x = TypeParam::x, y = TypeParam::y, right = x + TypeParam::w,
              bottom = y + TypeParam::h;
    const int mx = this->midX, my = this->midY;
    struct
    {
        int x, y;
        bool inside;
    } const points[] = {
        {x, my, false},         {x + 1, my, true},          // left edge
        {right, my, false},     {right - 1, my, true},      // right edge
        {mx, y, false},         {mx, y + 1, true},          // top edge
        {mx, bottom, false},    {mx, bottom - 1, true},     // bottom edge
        {x + 1, y + 1, true},   {right - 1, bottom - 1, true}, // corners just inside
        {x, y, false},          {right, bottom, false},     // corners on the edge
        {x + 1, y, false},      {x, y + 1, false},
    };
    for (const auto& p : points) {
        this->Motion(p.x, p.y);
        EXPECT_EQ(this->Frame(), p.inside ? HOVER : NORMAL) << "motion at " << p.x << "," << p.y;

        // A press shows the pressed frame only inside.
        this->Motion(this->outX, this->outY);
        this->Press(p.x, p.y);
        EXPECT_EQ(this->Frame(), p.inside ? PRESSED : NORMAL) << "press at " << p.x << "," << p.y;
        this->Motion(this->outX, this->outY);
    }
    // A release on the edge does not click; one a pixel in does.
    this->StandOnProbe();
    for (const auto& p : points) {
        if (p.inside)
            continue;
        this->Release(p.x, p.y);
        EXPECT_FALSE(this->Clicked()) << "release at " << p.x << "," << p.y;
    }
    this->Release(x + 1, bottom - 1);
    EXPECT_TRUE(this->Clicked());
}

TYPED_TEST(ButtonTest, PressInsideArmsAndDraggingOutDisarms)
{
    this->StandOnProbe();
    this->Motion(this->midX, this->midY);
    this->Press(this->midX, this->midY);
    EXPECT_EQ(this->Frame(), PRESSED);
    EXPECT_TRUE(this->Look().pressed);

    this->Motion(this->midX + 1, this->midY);
    EXPECT_EQ(this->Frame(), PRESSED) << "still armed inside";

    this->Motion(this->outX, this->outY);
    EXPECT_EQ(this->Frame(), NORMAL);
    EXPECT_FALSE(this->Look().pressed);

    this->Motion(this->midX, this->midY);
    EXPECT_EQ(this->Frame(), HOVER) << "back inside, no longer armed";
    EXPECT_FALSE(this->Clicked());

    this->Release(this->midX, this->midY);
    EXPECT_TRUE(this->Clicked()) << "the release acts although the button was disarmed";
    EXPECT_EQ(this->Frame(), HOVER);
    EXPECT_FALSE(this->Look().pressed);
}

TYPED_TEST(ButtonTest, PressOutside)
{
    this->Press(this->outX, this->outY);
    EXPECT_EQ(this->Frame(), NORMAL);
    EXPECT_EQ(this->Look().pressed, TypeParam::armsAnywhere);

    // The first motion after it lands inside.
    this->Motion(this->midX, this->midY);
    EXPECT_EQ(this->Frame(), TypeParam::armsAnywhere ? PRESSED : HOVER);
}

TYPED_TEST(ButtonTest, ReleaseOutside)
{
    this->StandOnProbe();
    this->Motion(this->midX, this->midY);
    this->Press(this->midX, this->midY);
    // A release reported outside with no motion seen before it.
    this->Release(this->outX, this->outY);
    EXPECT_FALSE(this->Clicked());
    EXPECT_EQ(this->Frame(), PRESSED) << "the frame waits for the next motion";
    EXPECT_EQ(this->Look().pressed, !TypeParam::armsAnywhere);
}

TYPED_TEST(ButtonTest, PressOutsideThenReleaseInsideClicks)
{
    this->StandOnProbe();
    this->Press(this->outX, this->outY);
    this->Motion(this->midX, this->midY);
    this->Release(this->midX, this->midY);
    EXPECT_TRUE(this->Clicked());
    EXPECT_EQ(this->Frame(), HOVER);
    EXPECT_FALSE(this->Look().pressed);
    ASSERT_FALSE(this->game.engine.states.empty());
    EXPECT_EQ(this->game.engine.states.back(), TypeParam::Target());
    EXPECT_EQ(this->game.engine.states.size(), 1u);
}

TYPED_TEST(ButtonTest, OtherMouseButtonsAndKeysChangeNothing)
{
    this->StandOnProbe();
    this->Motion(this->midX, this->midY);
    for (Uint8 which : {SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
        this->Press(this->midX, this->midY, which);
        EXPECT_EQ(this->Frame(), HOVER);
        EXPECT_FALSE(this->Look().pressed);
        this->Release(this->midX, this->midY, which);
        EXPECT_EQ(this->Frame(), HOVER);
        // Not even the exit button arms or clicks on them, wherever they are.
        this->Press(this->outX, this->outY, which);
        EXPECT_FALSE(this->Look().pressed);
    }
    // The right button released over an armed button leaves it armed.
    this->Press(this->midX, this->midY);
    this->Release(this->midX, this->midY, SDL_BUTTON_RIGHT);
    this->Release(this->outX, this->outY, SDL_BUTTON_RIGHT);
    EXPECT_EQ(this->Frame(), PRESSED);
    EXPECT_TRUE(this->Look().pressed);

    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_RETURN;
    this->button->HandleEvent(key, &this->game.engine);
    EXPECT_EQ(this->Frame(), PRESSED);
    EXPECT_FALSE(this->Clicked());
    EXPECT_EQ(this->game.engine.states.back(), &this->probe);
}

TYPED_TEST(ButtonTest, OnlyTheIconWritesIconHovered)
{
    this->game.engine.iconHovered = true;
    this->Motion(this->outX, this->outY);
    EXPECT_EQ(this->game.engine.iconHovered, !TypeParam::writesIconHovered);
    this->game.engine.iconHovered = false;
    this->Motion(this->midX, this->midY);
    EXPECT_EQ(this->game.engine.iconHovered, TypeParam::writesIconHovered);
    // Presses and releases leave it alone.
    this->game.engine.iconHovered = false;
    this->Press(this->midX, this->midY);
    this->Release(this->outX, this->outY);
    EXPECT_FALSE(this->game.engine.iconHovered);
}

TYPED_TEST(ButtonTest, TheClickAndTheStateChangeComeInTheButtonsOwnOrder)
{
    // Holding the audio device keeps a chunk that has started "playing" until we look.
    SDL_PauseAudio(1);
    Mix_HaltChannel(-1);
    this->StandOnProbe();
    this->Motion(this->midX, this->midY);
    this->Press(this->midX, this->midY);
    this->Release(this->midX, this->midY);
    ASSERT_TRUE(this->Clicked());
    if (TypeParam::clicksBeforeChange) {
        // The exit button shows hover, disarms and clicks before it leaves the screen.
        EXPECT_EQ(this->probe.currentAtChange, &this->Look().hoverFrame);
        EXPECT_FALSE(this->probe.pressedAtChange);
        if (this->game.engine.sounds.klik) {
            EXPECT_EQ(this->probe.playingAtChange, 1);
        }
    } else {
        // The others leave first, still pressed and armed, and click afterwards.
        EXPECT_EQ(this->probe.currentAtChange, &this->Look().pressedFrame);
        EXPECT_TRUE(this->probe.pressedAtChange);
        EXPECT_EQ(this->probe.playingAtChange, 0);
    }
    EXPECT_EQ(this->Frame(), HOVER);
    EXPECT_FALSE(this->Look().pressed);
    if (this->game.engine.sounds.klik) {
        EXPECT_EQ(Mix_Playing(-1), 1) << "one click, after the change or before it";
    }
    SDL_PauseAudio(0);
}

TYPED_TEST(ButtonTest, DrawsTheWholeFrameAtItsPosition)
{
    SDL_Surface* screen = this->game.engine.screen;
    SDL_FillRect(screen, nullptr, 0);
    this->button->Draw(screen);
    const int x = TypeParam::x, y = TypeParam::y;
    const int right = x + TypeParam::frameW - 1, bottom = y + TypeParam::frameH - 1;
    EXPECT_EQ(this->game.Pixel(x, y), TypeParam::rgb);
    EXPECT_EQ(this->game.Pixel(right, bottom), TypeParam::rgb);
    EXPECT_EQ(this->game.Pixel(x - 1, y), 0u);
    EXPECT_EQ(this->game.Pixel(x, y - 1), 0u);
    if (right + 1 < screen->w) {
        EXPECT_EQ(this->game.Pixel(right + 1, bottom), 0u);
    }
    EXPECT_EQ(this->game.Pixel(right, bottom + 1), 0u);
}

TEST(ButtonLog, OnlyTheStartButtonAnnouncesItself)
{
    cTrace trace;
    cHeadlessGame game{32};
    trace.Take();
    {
        cDugme first(207, 318, 215, 102, &game.engine);
        cDugme second(10, 10, 20, 20, &game.engine);
        cIkonica icon(251, 47, 45, 35, &game.engine);
        cDugmeIzlaz exitButton(532, 19, 89, 75, &game.engine);
    }
    EXPECT_EQ(trace.Take(), "cDugme Init\ncDugme Init\n");
}

} // namespace
