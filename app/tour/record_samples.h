// A few Kannada addresses for the screenshot tour, classified by the reference samples' first
// district, its taluks, the fourth category with its sub-categories and the relations.
#pragma once

class AddressData;

// Adds the addresses when the address table is empty; false when a save fails.
bool AddAddressSamples(AddressData &data);
