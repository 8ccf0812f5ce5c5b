#pragma once

// The interface speaks Japanese, its source language, or English beside it.
enum class Language { Japanese, English };
