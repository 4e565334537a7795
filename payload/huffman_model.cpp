#include "payload/huffman_model.h"

uint16_t nodeFreq[NODE_COUNT + 1];
uint16_t nodeChild[NODE_COUNT];
uint16_t nodeParent[NODE_COUNT + SYMBOL_COUNT];

void InitModel() {
  for (unsigned s = 0; s < SYMBOL_COUNT; ++s) {
    nodeFreq[s] = 1;
    nodeChild[s] = static_cast<uint16_t>(s + NODE_COUNT);
    nodeParent[s + NODE_COUNT] = static_cast<uint16_t>(s);
  }
  for (unsigned j = SYMBOL_COUNT, i = 0; j < NODE_COUNT; ++j, i += 2) {
    nodeFreq[j] = static_cast<uint16_t>(nodeFreq[i] + nodeFreq[i + 1]);
    nodeChild[j] = static_cast<uint16_t>(i);
    nodeParent[i] = nodeParent[i + 1] = static_cast<uint16_t>(j);
  }
  nodeFreq[NODE_COUNT] = 0xFFFF;
  nodeParent[ROOT_NODE] = 0;
}

void RebuildTree() {
  unsigned j = 0;
  for (unsigned n = 0; n < NODE_COUNT; ++n) {
    if (nodeChild[n] >= NODE_COUNT) {
      nodeFreq[j] = static_cast<uint16_t>((nodeFreq[n] + 1) / 2);
      nodeChild[j] = nodeChild[n];
      ++j;
    }
  }
  for (unsigned i = 0; j < NODE_COUNT; i += 2, ++j) {
    uint16_t f = static_cast<uint16_t>(nodeFreq[i] + nodeFreq[i + 1]);
    unsigned k = j - 1;
    while (f < nodeFreq[k])
      --k;
    ++k;
    for (unsigned m = j; m > k; --m) {
      nodeFreq[m] = nodeFreq[m - 1];
      nodeChild[m] = nodeChild[m - 1];
    }
    nodeFreq[k] = f;
    nodeChild[k] = static_cast<uint16_t>(i);
  }
  for (unsigned n = 0; n < NODE_COUNT; ++n) {
    unsigned e = nodeChild[n];
    if (e >= NODE_COUNT)
      nodeParent[e] = static_cast<uint16_t>(n);
    else
      nodeParent[e] = nodeParent[e + 1] = static_cast<uint16_t>(n);
  }
}

void BumpFrequency(unsigned symbol) {
  if (nodeFreq[ROOT_NODE] == REBUILD_COUNT)
    RebuildTree();
  unsigned c = nodeParent[symbol + NODE_COUNT];
  do {
    uint16_t k = ++nodeFreq[c];
    if (k > nodeFreq[c + 1]) {
      unsigned l = c + 1;
      while (k > nodeFreq[l + 1])
        ++l;
      nodeFreq[c] = nodeFreq[l];
      nodeFreq[l] = k;

      unsigned i = nodeChild[c];
      nodeParent[i] = static_cast<uint16_t>(l);
      if (i < NODE_COUNT)
        nodeParent[i + 1] = static_cast<uint16_t>(l);

      unsigned j = nodeChild[l];
      nodeChild[l] = static_cast<uint16_t>(i);
      nodeParent[j] = static_cast<uint16_t>(c);
      if (j < NODE_COUNT)
        nodeParent[j + 1] = static_cast<uint16_t>(c);
      nodeChild[c] = static_cast<uint16_t>(j);
      c = l;
    }
    c = nodeParent[c];
  } while (c != 0);
}
