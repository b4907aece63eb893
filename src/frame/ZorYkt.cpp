#include "ZorYkt.h"

#include <cstring>

// The card buffer and the working record start cleared, so that nothing
// read before the first card can be mistaken for a card.
CZorYkt::CZorYkt() : m_pCardData(new char[kCardDataSize]()), m_Card() {}

CZorYkt::~CZorYkt() { delete[] m_pCardData; }
