// The planet's sphere mesh: its texture as it is, sampled at the mesh's coordinates.

Texture2D planetTexture : register(t0);
SamplerState planetSampler : register(s0);

struct PlanetVertex
{
    float4 position : SV_POSITION;
    float2 uv : TEXCOORD0;
};

float4 PS(PlanetVertex input) : SV_TARGET
{
    return planetTexture.Sample(planetSampler, input.uv);
}
