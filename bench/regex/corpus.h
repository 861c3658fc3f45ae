// The English text the regular-expression benchmark searches: licence and copyright
// texts already installed on the machine, concatenated in a fixed order until the wanted
// size is reached (repeated when the machine has fewer).
#pragma once

#include <cstddef>
#include <string>

std::string buildCorpus(std::size_t bytes);
