#pragma once
class CList {
public:
    void Sort();
};
