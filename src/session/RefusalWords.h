// The refusals of the layers below the session, which cannot see the
// interface texts, in the words of the interface's language.
#pragma once

#include "edit/Transforms.h"

#include <QString>

struct InterfaceTexts;

// Why a transform did nothing; empty when it was done.
QString transformRefusalWords(const InterfaceTexts &texts, const TransformRefusal &refusal);
