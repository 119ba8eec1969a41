// A reference picture behind the model: its texture, made as opaque as the colour's alpha.

Texture2D picture : register(t0);
SamplerState pictureSampler : register(s0);

cbuffer ColourConstants : register(b1)
{
    float4 colour;
};

struct PlanetVertex
{
    float4 position : SV_POSITION;
    float2 uv : TEXCOORD0;
};

float4 PS(PlanetVertex input) : SV_TARGET
{
    float4 c = picture.Sample(pictureSampler, input.uv);
    return float4(c.r, c.g, c.b, c.a * colour.a);
}
