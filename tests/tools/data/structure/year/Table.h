#pragma once
class CTable {};
