// The contract between the engine and every screen of the game.
#pragma once

class cGameEngine;

// Each screen derives from this and exists once, as a static singleton reached
// through its own Instance(). The slot order matters to nobody but is kept stable.
class cGameState
{
public:
    virtual void Init(cGameEngine* engine) = 0;
    virtual void Cleanup(cGameEngine* engine) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void HandleEvents(cGameEngine* engine) = 0;
    virtual void Update(cGameEngine* engine) = 0;
    virtual void Draw(cGameEngine* engine) = 0;

protected:
    ~cGameState() = default;
};
