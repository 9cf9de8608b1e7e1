#ifndef ZENTAVO_AGREECUSTOMER_H
#define ZENTAVO_AGREECUSTOMER_H

#include "model/party.h"

// The customer of the valuation agreement: the party that orders the valuation.
class ZENTAVO_EXPORT AgreeCustomer : public Party
{
};

#endif
