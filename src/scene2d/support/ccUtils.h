#pragma once

// The smallest power of two not below x (32-bit; 0 stays 0).
unsigned int ccNextPOT(unsigned int x);
