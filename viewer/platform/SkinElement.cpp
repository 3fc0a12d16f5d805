#include "SkinElement.h"

SkinElement::~SkinElement() = default;
