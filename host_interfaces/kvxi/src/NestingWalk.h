// A walk of a graph of references without recursion, for structures OCCT walks recursively and
// without a guard: finds a node used inside itself, or a chain of references past a limit.
#pragma once

#include <map>
#include <vector>

namespace tam {

struct NestingFault {
    enum Kind { None, Loop, TooDeep };
    Kind kind = None;
    int node = 0;  // the node used inside itself, or the first one past the limit
};

// `children` lists each node's references (a node without any may be left out). Every node is
// walked once: the height of a finished node is kept, so shared parts cost nothing more.
NestingFault FindNestingFault(const std::map<int, std::vector<int>>& children, int maxDepth);

}  // namespace tam
