#include "platform/SkinElement.h"

SkinElement::~SkinElement() = default;
