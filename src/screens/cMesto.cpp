// A slot's occupation.
#include "screens/cMesto.h"

#include "engine/cLayout.h"

void cMesto::Setup(int x, int y, int32_t index)
{
    rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), cLayout::SLOT_CATCH,
            cLayout::SLOT_CATCH};
    occupied = false;
    this->index = index;
}

void cMesto::Occupy()
{
    rect.w = rect.h = 0;
    occupied = true;
}

void cMesto::Vacate()
{
    rect.w = rect.h = cLayout::SLOT_CATCH;
    occupied = false;
}
