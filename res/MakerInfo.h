// The texts that name the program's maker, each kept once, here. No site exists yet, so the
// addresses use the reserved .example domain.
#pragma once

inline constexpr const char* kMakerCompany = "Orvane Software";
inline constexpr const char* kMakerWebAddress = "https://orvane.example/";
inline constexpr const char* kMakerContact = "support@orvane.example";
inline constexpr const char* kMakerNotice = "Copyright (C) 2026 Orvane Software";
