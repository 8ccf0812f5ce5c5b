#pragma once

#include "resources/interface_language.h"

// Until the one text catalogue: the English of the field table's labels.
const char* inLanguage(const char* japanese, Language language);
